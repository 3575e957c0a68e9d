#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tkm::sim {

inline constexpr int kDisplayRows = 4;
inline constexpr int kDisplayColumns = 20;
inline constexpr int kUserSymbols = 8;
inline constexpr int kKeyCount = 30;

// Display settings bits, as the display-settings command carries them.
inline constexpr int kBlinkingCursor = 1;
inline constexpr int kStaticCursor = 2;
inline constexpr int kDisplayEnabled = 4;
inline constexpr int kSaveToEeprom = 8;

// Module status while the watchdog alarm is raised.
inline constexpr int kWatchdogAlarmStatus = 0x04;

// A copy of everything a simulated terminal holds, taken at one instant.
struct TerminalState {
    bool powered = true;
    bool initPin = false;  // the pin as it is now
    bool initMode = false; // the pin was connected at the last power-up

    // What the terminal answers at now.
    int address = 1;
    int baudCode = 6;
    bool checksum = false;

    // The configuration stored in EEPROM (used from the next power-up when written in init mode).
    int storedAddress = 1;
    int storedBaudCode = 6;
    bool storedChecksum = false;
    int codePage = 1;
    std::string typeCode;

    std::string deviceName;
    std::string firmware;

    // Display rows as the bytes received, in the terminal's code page, each kDisplayColumns long.
    std::array<std::string, kDisplayRows> rows;
    int cursorRow = 0;
    int cursorColumn = 0;
    int displaySettings = kBlinkingCursor | kStaticCursor | kDisplayEnabled;
    int savedDisplaySettings = kBlinkingCursor | kStaticCursor | kDisplayEnabled;

    bool lamp1 = false;
    bool lamp2 = false;

    // DIO: line k is bit 7 - k; a set direction bit is an input.
    std::uint8_t direction = 0;
    std::uint8_t outputs = 0; // output latch
    std::uint8_t inputs = 0;  // levels applied from outside
    std::uint8_t lines = 0;   // what @AA reads: inputs on input lines, the latch on output lines
    std::uint8_t powerOnValue = 0;
    std::uint8_t safeValue = 0;

    std::array<std::string, kUserSymbols> symbols; // 16 hex digits each, as received

    std::vector<int> keys; // oldest first

    bool watchdogEnabled = false;
    int watchdogPeriod = 0; // tenths of a second
    int moduleStatus = 0;
    std::chrono::milliseconds sinceHostAlive{0};
};

} // namespace tkm::sim
