#pragma once

// One composer per terminal command: the exact command text (without checksum and terminator), the
// reply prefix it expects and the extra wait it asks of Transact. Pages build every command here.
// Pure functions; any thread. Inputs outside their documented ranges are programming errors and throw
// std::out_of_range (std::invalid_argument for a malformed symbol code): the page controls are bounded.

#include <string>
#include <string_view>

namespace tkm::protocol {

struct Command {
    std::string text;
    std::string prefix;
    int extraWait = 0; // milliseconds

    bool operator==(const Command&) const = default;
};

// Identification reads, all answered under "!" + address.
Command ReadDeviceName(int address);   // $AAM
Command ReadFirmware(int address);     // $AAF
Command ReadDirection(int address);    // $AAD
Command ReadPowerOnValue(int address); // ~AA4P
Command ReadSafeValue(int address);    // ~AA4S

// DIO lines: line k is bit 7 - k of a byte 0..255; in a direction byte a set bit means input.
Command WriteDirection(int address, int directionByte); // $AAD + HH
Command SavePowerOnState(int address);                  // ~AA5P: present outputs become the power-on state
Command SaveSafeState(int address);                     // ~AA5S: present outputs become the safe state
Command ReadLineState(int address);                     // @AA, answered under ">"
Command WriteLineState(int address, int lineByte);      // @AA + HH, answered under ">"

// Display. Text is sent as given: convert typed text with ToTerminalCodePage first.
Command ClearDisplay(int address); // $AAT
// Cursor to row 0..3, column 0..19, then the text (if any) from there: $AAT + R + CC + text.
Command WriteAt(int address, int row, int column, std::string_view text = {});
enum class TextSentBy { Button, EnterKey };
// Text at the cursor: $AAO + text. The Enter key asks the terminal for a longer wait.
Command WriteText(int address, std::string_view text, TextSentBy sentBy = TextSentBy::Button);

struct DisplayOptions {
    bool blinkingCursor = true;
    bool staticCursor = true;
    bool displayEnabled = true;
    bool saveToEeprom = false;
};
Command WriteDisplaySettings(int address, const DisplayOptions& options); // $AAS + H

// Indicator 1 or 2 of the terminal: $AAI + n + 0/1.
Command SetIndicator(int address, int indicator, bool on);

Command ReadPressedKeys(int address); // $AAK

// User symbol 0..7 with a 16-digit symbol code, sent exactly as given (either case): $AAG + D + code.
Command WriteSymbol(int address, int symbolNumber, std::string_view symbolCode);

Command ReadConfiguration(int address); // $AA2, answered under "!"

// The format code of a configuration: the terminal's checksum mode.
inline constexpr std::string_view kFormatChecksumOn = "40";
inline constexpr std::string_view kFormatChecksumOff = "00";

struct ConfigurationWrite {
    int newAddress = 1;           // 0..255; the terminal answers under it
    int baudIndex = 5;            // baud-rate list index 0..9 (300..115200); sent as index + 1
    int codePageIndex = 1;        // 0 CP-866, 1 WIN-1251, 2 KOI-8R
    bool checksumEnabled = false; // kFormatChecksumOn / kFormatChecksumOff
};
// %AA + NN + "0Z" + baud code + code-page code + format code, answered under "!" + NN.
Command WriteConfiguration(int address, const ConfigurationWrite& config);

// Watchdog, period 0..255 in tenths of a second.
Command ReadWatchdogState(int address);                             // ~AA2, answered under "!"
Command WriteWatchdog(int address, bool enabled, int periodTenths); // ~AA3 + E + HH
Command ReadModuleStatus(int address);                              // ~AA0, answered under "!"
Command ResetModuleStatus(int address);                             // ~AA1
Command HostAlive();                                                // ~**, no address, any reply

} // namespace tkm::protocol
