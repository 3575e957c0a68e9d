#pragma once

#include "terminal/TerminalLine.h"

#include <optional>

namespace tkm::terminal {

// Writing a new configuration to the terminal, as the Setting page's "Save settign" and the tool's
// configure and apply do. A new address or code page is taken at once. A new baud rate or checksum
// mode is taken only in init mode, which the terminal enters when it is powered up with its init pin
// connected and where it answers at address 0, 9600 baud, checksum off; the configuration written
// there is taken at its next power-up without the pin.
//
// The procedure says what is to be done next; the caller does it in its own way (the window shows a
// box and moves its connection panel, the tool prompts and switches its line), reports back, and sends
// the configuration through write(). A caller that stops driving it leaves it: nothing more is sent.
// A plain value; one thread at a time.
class ConfigurationProcedure {
public:
    // The connection as the procedure finds it.
    struct Connection {
        int address = 0;
        int baudIndex = 5;
        // The checksum mode the terminal uses, as far as it is known; unknown counts as a change.
        std::optional<bool> checksum;
    };

    // Where a terminal in init mode answers.
    static constexpr int kInitModeAddress = 0;
    static constexpr int kInitModeBaudIndex = 5; // 9600 baud
    static constexpr bool kInitModeChecksum = false;

    enum class Step {
        PowerCycle,       // the user powers the terminal up with its init pin connected: powerCycled()
        SwitchToInitMode, // the connection to the init mode's address, baud rate and checksum: switched()
        FindInInitMode,   // the terminal must answer there ("Device not found" if not): found()
        Write,            // write()
        Follow,           // the connection to newAddress(), where the terminal answers now: followed()
        Done,
    };

    ConfigurationProcedure(const Connection& now, int newBaudIndex, bool newChecksum);

    // A new baud rate or checksum mode at a bus address: the power cycle comes first.
    bool needsInitMode() const { return needsInitMode_; }
    Step next() const { return step_; }

    void powerCycled();
    void switched();
    void found();
    // Sends the configuration (the new baud rate and checksum mode given at the start, newAddress and
    // codePageIndex 0..2) to writeAddress(). Then Follow when it was taken at a bus address, else Done.
    Result<> write(TerminalLine& line, int newAddress, int codePageIndex);
    void followed();

    // Where write() sends: the terminal's address, or the init mode's once it has been switched to.
    int writeAddress() const { return writeAddress_; }
    // The address written; valid after write().
    int newAddress() const { return newAddress_; }
    // Written in init mode: taken at the next power-up without the init pin.
    bool takenAtPowerUp() const { return writeAddress_ == kInitModeAddress; }

private:
    void expect(Step step) const;

    int newBaudIndex_;
    bool newChecksum_;
    bool needsInitMode_;
    int writeAddress_;
    int newAddress_ = 0;
    Step step_;
};

} // namespace tkm::terminal
