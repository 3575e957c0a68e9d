#pragma once

#include "sim/SimClock.h"
#include "sim/TerminalSettings.h"
#include "sim/TerminalState.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace tkm::sim {

// The inner working of a simulated TKM-9214: configuration, display, lamps, DIO lines, user symbols,
// key queue and host watchdog, driven by command frames.
//
// Threads: every public call may run on any thread; one mutex guards the whole state, so a frame is
// handled atomically with respect to key presses, input-line changes and power switching.
//
// Answers: a frame that fails the checksum, is addressed to another terminal or arrives while the
// terminal is off gets no reply. A frame for this terminal whose command is unknown or whose data is
// malformed is answered "?" + address (so a person typing at the line sees it was refused; the
// utility sees a reply without its expected prefix). The host-alive message "~**" gets no reply.
//
// Init pin: sampled at power-up, as on the device. While the terminal is in init mode it answers at
// address 00, 9600 baud, checksum off; a configuration write is stored and used from the next power-up.
// Outside init mode a configuration write takes effect once its reply has been sent: the line calls
// commitLineConfig() then.
//
// Watchdog: with the watchdog enabled and a period above 0, a period without "~**" raises module
// status 04 and drives the output lines to the safe value; the status stays until ~AA1 (or power-up).
// The watchdog, enabling it and ~AA1 restart the period. Time comes from the injected clock and is
// looked at whenever the model is used, so no timer runs.
class TerminalModel {
public:
    struct FrameResult {
        std::optional<std::string> reply; // prefix + payload; no checksum, no terminator
        bool checksum = false;            // reply with a frame checksum
        bool commitAfterReply = false;    // call commitLineConfig(epoch) once the reply is out
        std::uint64_t epoch = 0;          // power epoch the frame was handled in
        std::string note;                 // what happened, for the trace
    };

    struct LineSettings {
        bool powered = true;
        int address = 1;
        int baudCode = 6;
        bool checksum = false;
        std::uint64_t epoch = 0;
    };

    static constexpr std::size_t kKeyQueueCapacity = 32;
    static constexpr int kMaxKeysPerReply = 9;

    // settings must validate(); the terminal starts powered up.
    TerminalModel(const TerminalSettings& settings, std::shared_ptr<const SimClock> clock);

    // One frame as received, without its carriage return.
    FrameResult receiveFrame(std::string_view frame);
    // Applies a configuration written outside init mode, unless power was switched since epoch.
    void commitLineConfig(std::uint64_t epoch);
    LineSettings lineSettings() const;

    // Front panel and wiring.
    bool pressKey(int key); // false when the key is not 1..30 or the queue is full
    void setInputs(std::uint8_t levels);
    void setInputLine(int line, bool high);
    void setInitPin(bool connected);
    void powerOff();
    void powerOn();
    void powerCycle();

    TerminalState state(); // not const: looking at the terminal lets the watchdog time run out

private:
    struct Stored {
        int address;
        int baudCode;
        int codePage;
        bool checksum;
        std::string typeCode;
    };

    std::optional<std::string> dispatch(char lead, std::string_view command, FrameResult& result);
    std::optional<std::string> displayCommand(char letter, std::string_view data);
    std::optional<std::string> tildeCommand(std::string_view command);
    std::optional<std::string> dioCommand(std::string_view data);
    std::optional<std::string> configWrite(std::string_view data, FrameResult& result);
    std::string addressText() const;
    std::string okReply() const;
    void powerUp();
    void writeText(std::string_view text);
    void updateWatchdog();
    void restartWatchdog();
    std::uint8_t lines() const;

    std::shared_ptr<const SimClock> clock_;
    mutable std::mutex mutex_;

    std::string deviceName_;
    std::string firmware_;
    Stored stored_;
    std::optional<Stored> pendingLine_; // written outside init mode, applied after the reply
    bool powered_ = false;
    bool initPin_ = false;
    bool initMode_ = false;
    std::uint64_t epoch_ = 0;
    int address_ = 0;
    int baudCode_ = 0;
    bool checksum_ = false;

    std::array<std::string, kDisplayRows> rows_;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;
    int displaySettings_ = 0;
    int savedDisplaySettings_ = kBlinkingCursor | kStaticCursor | kDisplayEnabled;
    bool lamp1_ = false;
    bool lamp2_ = false;

    std::uint8_t direction_ = 0;
    std::uint8_t outputs_ = 0;
    std::uint8_t inputs_ = 0;
    std::uint8_t powerOnValue_ = 0;
    std::uint8_t safeValue_ = 0;

    std::array<std::string, kUserSymbols> symbols_;
    std::deque<int> keys_;

    bool watchdogEnabled_ = false;
    int watchdogPeriod_ = 0;
    int moduleStatus_ = 0;
    std::chrono::milliseconds lastHostAlive_{0};
};

} // namespace tkm::sim
