#pragma once

#include "sim/LineFaults.h"
#include "sim/PseudoTerminal.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace tkm::sim {

class LineTrace;
class TerminalModel;

// The terminal's end of the serial line: serves the master side of a pseudo-terminal on a thread of
// its own. It gathers frames up to each carriage return, hands them to the model, and sends the
// replies (checksum and terminator added, faults applied, optionally paced at the character time of
// the baud rate). Bytes that arrive while the host's line settings differ from the terminal's (speed,
// or anything but 8 data bits without parity) are not understood and get no reply.
//
// Threads: start(), stop() and slavePath() belong to the owner's thread (not concurrently with each
// other). setFaults(), faults(), setPacing() and pacing() may run on any thread. The line thread
// waits in ppoll() on the master, the slave watch and a wake-up eventfd; it never spins.
class PtyLine {
public:
    // Longer frames are dropped whole; the buffer never grows past this.
    static constexpr std::size_t kMaxFrameLength = 256;

    PtyLine(TerminalModel& model, LineTrace& trace);
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;
    ~PtyLine();

    // Opens a fresh pseudo-terminal and starts the thread. Empty on success, else the error text.
    std::string start();
    void stop();
    bool running() const { return thread_.joinable(); }
    // The slave device path, valid between start() and stop().
    const std::string& slavePath() const { return pty_.slavePath(); }

    void setFaults(const LineFaults& faults);
    LineFaults faults() const;
    void setPacing(bool on) { pacing_ = on; }
    bool pacing() const { return pacing_; }

private:
    using Clock = std::chrono::steady_clock;

    struct Outgoing {
        std::string bytes;
        std::size_t written = 0;
        Clock::time_point due;         // when the next byte may go
        Clock::duration characterTime; // zero: all at once
        bool commitConfig = false;
        std::uint64_t epoch = 0;
        std::string note;
    };

    void run();
    void wake();
    void readHost();
    void takeBytes(const char* data, std::size_t size);
    void handleFrame(const std::string& frame);
    void sendDue();
    void dropPendingOutput(const char* why);
    std::optional<std::chrono::nanoseconds> nextWait() const; // nothing: wait for events only

    TerminalModel& model_;
    LineTrace& trace_;
    PseudoTerminal pty_;
    int wakeFd_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> pacing_{false};
    mutable std::mutex faultsMutex_;
    LineFaults faults_;

    // Line thread only.
    std::string frame_;
    bool frameOverflow_ = false;
    std::deque<Outgoing> output_;
    bool masterHungUp_ = false;
};

} // namespace tkm::sim
