#pragma once

#include "terminal/DeviceData.h"
#include "terminal/TerminalLine.h"

namespace tkm::terminal {

// How an identification differs between its callers.
struct IdentifyOptions {
    // Clear the terminal's display ($AAT) after reading its lines, as the window's identification does;
    // the tool's changes nothing on the terminal.
    bool clearDisplay = false;
    // Checked (the tool's): the direction, power-on and safe values must be line bytes too (kept in
    // upper case), the configuration must be one of the lists, and a watchdog period that is no hex
    // number is an invalid reply rather than the conversion error.
    Replies replies = Replies::AsReceived;
};

// What the window follows while an identification fills its cache. Called on the line's thread.
class IdentifyObserver {
public:
    virtual ~IdentifyObserver() = default;

    virtual void emptied() {}      // the values read again were emptied
    virtual void linesRead() {}    // the line state is in
    virtual void watchdogRead() {} // the watchdog state is in
    virtual void filled() {}       // everything is in
    // False once the connection changed while an exchange waited (another address, port, checksum
    // mode or baud rate): what the terminal answered then describes nothing that was asked for, and the
    // identification ends with an Overtaken fault.
    virtual bool current() const { return true; }
};

// Reads the terminal at `address` into `data`, in this order:
//  1. empties the device name, firmware, the configuration but its address, and the direction,
//     power-on and safe values (the line state and the configuration's address keep theirs);
//  2. reads the device name ($AAM), firmware ($AAF), direction ($AAD), power-on (~AA4P) and safe values
//     (~AA4S) and keeps them aside;
//  3. reads the lines (@AA) into the line state; a failed read, or a reply that is not a line byte,
//     leaves it empty (not known);
//  4. with clearDisplay, clears the terminal's display ($AAT);
//  5. reads the configuration ($AA2) into the data;
//  6. reads the watchdog (~AA2) into the data (see ReadWatchdog);
//  7. stores what step 2 kept.
// It stops at the first fault and leaves the data as they are then: a failure after step 5 keeps the
// new configuration. The conversion error of a non-hex watchdog period passes through unless replies
// are checked.
Result<> Identify(TerminalLine& line, int address, DeviceData& data, const IdentifyOptions& options,
                  IdentifyObserver& observer);
Result<> Identify(TerminalLine& line, int address, DeviceData& data, const IdentifyOptions& options);

} // namespace tkm::terminal
