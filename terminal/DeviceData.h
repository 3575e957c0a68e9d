#pragma once

#include "terminal/Configuration.h"

#include "protocol/Replies.h"

#include <string>

namespace tkm::terminal {

// What an identification learns about the terminal. Texts hold the bytes as received.
struct DeviceData {
    std::string deviceName;
    std::string firmware;
    Configuration configuration;
    // The DIO lines' bytes, two hex digits each, line k in bit 7 - k; empty: not known.
    std::string direction; // set bit = input
    std::string powerOn;   // the lines' power-on state
    std::string safe;      // the lines' safe state
    std::string lineState; // the lines as last read from or written to the terminal
    protocol::WatchdogState watchdog;
};

} // namespace tkm::terminal
