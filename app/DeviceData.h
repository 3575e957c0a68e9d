#pragma once

#include <string>

// What the last device identification learnt about the terminal. Texts hold raw bytes as received.
struct DeviceData {
    std::string deviceName;
    std::string firmware;
    // Configuration fields, two characters each; the type code is not kept.
    std::string cfgAddress;
    std::string cfgBaud;
    std::string cfgCodePage;
    std::string cfgFormat;
    std::string direction; // direction byte, two hex digits, set bit = input
    std::string powerOn;   // power-on value of the lines
    std::string safe;      // safe value of the lines
    std::string lineState; // line byte last read from or written to the terminal
    bool wdtEnabled = false;
    int wdtPeriod = 0; // tenths of a second
};
