#pragma once

#include <string>

namespace tkm::sim {

// What a simulated terminal holds in its EEPROM when it is first powered up.
struct TerminalSettings {
    int address = 1;       // bus address 1..255
    int baudCode = 6;      // 1 = 300 .. 6 = 9600 .. 10 = 115200
    int codePage = 1;      // 0 CP-866, 1 WIN-1251, 2 KOI-8R
    bool checksum = false; // format code "40" when on, "00" when off
    std::string typeCode = "0Z";
    std::string deviceName = "TKM-9214";
    std::string firmware = "1.02";
    bool initPin = false; // connected to GND at the first power-up

    // Empty when the settings are usable, else what is wrong with them.
    std::string validate() const;
};

} // namespace tkm::sim
