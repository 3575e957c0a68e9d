#include "protocol/Commands.h"

#include "protocol/Conversions.h"
#include "protocol/Frame.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace tkm::protocol {

namespace {

constexpr int kExtraWaitStore = 100;
constexpr int kExtraWaitEnterKey = 50;
constexpr int kExtraWaitSymbol = 300;
constexpr int kExtraWaitConfiguration = 500;

int Checked(int value, int low, int high, const char* what) {
    if (value < low || value > high) {
        throw std::out_of_range(std::string(what) + " " + std::to_string(value) + " is outside " +
                                std::to_string(low) + ".." + std::to_string(high));
    }
    return value;
}

std::string ByteText(int value, const char* what) {
    return HexText(static_cast<std::uint32_t>(Checked(value, 0, 255, what)), 2);
}

std::string OwnPrefix(int address) {
    return "!" + AddressText(address);
}

// Most commands: lead character, address, command data; answered under "!" + address.
Command Addressed(char lead, int address, std::string_view data, int extraWait = 0) {
    return {lead + AddressText(address) + std::string(data), OwnPrefix(address), extraWait};
}

} // namespace

Command ReadDeviceName(int address) {
    return Addressed('$', address, "M");
}
Command ReadFirmware(int address) {
    return Addressed('$', address, "F");
}
Command ReadDirection(int address) {
    return Addressed('$', address, "D");
}
Command ReadPowerOnValue(int address) {
    return Addressed('~', address, "4P");
}
Command ReadSafeValue(int address) {
    return Addressed('~', address, "4S");
}

Command WriteDirection(int address, int directionByte) {
    return Addressed('$', address, "D" + ByteText(directionByte, "direction byte"), kExtraWaitStore);
}

Command SavePowerOnState(int address) {
    return Addressed('~', address, "5P", kExtraWaitStore);
}
Command SaveSafeState(int address) {
    return Addressed('~', address, "5S", kExtraWaitStore);
}

Command ReadLineState(int address) {
    return {"@" + AddressText(address), ">", 0};
}

Command WriteLineState(int address, int lineByte) {
    return {"@" + AddressText(address) + ByteText(lineByte, "line byte"), ">", 0};
}

Command ClearDisplay(int address) {
    return Addressed('$', address, "T");
}

Command WriteAt(int address, int row, int column, std::string_view text) {
    const std::string rowText = DecimalText(Checked(row, 0, 3, "display row"));
    std::string columnText = DecimalText(Checked(column, 0, 19, "display column"));
    columnText.insert(0, 2 - columnText.size(), '0');
    return Addressed('$', address, "T" + rowText + columnText + std::string(text));
}

Command WriteText(int address, std::string_view text, TextSentBy sentBy) {
    return Addressed('$', address, "O" + std::string(text),
                     sentBy == TextSentBy::EnterKey ? kExtraWaitEnterKey : 0);
}

Command WriteDisplaySettings(int address, const DisplayOptions& options) {
    const std::uint32_t value = (options.blinkingCursor ? 1u : 0u) | (options.staticCursor ? 2u : 0u) |
                                (options.displayEnabled ? 4u : 0u) | (options.saveToEeprom ? 8u : 0u);
    return Addressed('$', address, "S" + HexText(value, 1), kExtraWaitStore);
}

Command SetIndicator(int address, int indicator, bool on) {
    return Addressed('$', address,
                     "I" + DecimalText(Checked(indicator, 1, 2, "indicator")) + (on ? "1" : "0"));
}

Command ReadPressedKeys(int address) {
    return Addressed('$', address, "K");
}

Command WriteSymbol(int address, int symbolNumber, std::string_view symbolCode) {
    const bool wellFormed = symbolCode.size() == 16 && std::all_of(symbolCode.begin(), symbolCode.end(),
                                                                   [](char c) { return IsHexDigit(c); });
    if (!wellFormed)
        throw std::invalid_argument("symbol code '" + std::string(symbolCode) + "' is not 16 hex digits");
    return Addressed('$', address,
                     "G" + DecimalText(Checked(symbolNumber, 0, 7, "symbol number")) +
                         std::string(symbolCode),
                     kExtraWaitSymbol);
}

Command ReadConfiguration(int address) {
    return {"$" + AddressText(address) + "2", "!", 0};
}

Command WriteConfiguration(int address, const ConfigurationWrite& config) {
    const std::string newAddress = AddressText(config.newAddress);
    const std::string baudCode =
        ByteText(Checked(config.baudIndex, 0, 9, "baud-rate index") + 1, "baud code");
    const std::string codePageCode =
        ByteText(Checked(config.codePageIndex, 0, 2, "code-page index"), "code page");
    const std::string_view formatCode = config.checksumEnabled ? kFormatChecksumOn : kFormatChecksumOff;
    return {"%" + AddressText(address) + newAddress + "0Z" + baudCode + codePageCode + std::string(formatCode),
            "!" + newAddress, kExtraWaitConfiguration};
}

Command ReadWatchdogState(int address) {
    return {"~" + AddressText(address) + "2", "!", 0};
}

Command WriteWatchdog(int address, bool enabled, int periodTenths) {
    return Addressed('~', address,
                     std::string("3") + (enabled ? "1" : "0") + ByteText(periodTenths, "watchdog period"));
}

Command ReadModuleStatus(int address) {
    return {"~" + AddressText(address) + "0", "!", 0};
}
Command ResetModuleStatus(int address) {
    return Addressed('~', address, "1");
}

Command HostAlive() {
    return {"~**", "", 0};
}

} // namespace tkm::protocol
