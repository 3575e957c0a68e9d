#include "protocol/Replies.h"

#include "protocol/Conversions.h"

#include <algorithm>
#include <array>

namespace tkm::protocol {

namespace {

constexpr std::array<std::string_view, kLastKey> kKeyNames{
    "F1", "F2", "F3", "F4",   "F5", "F6", "F7", "F8",  "F9", "F10", "ESC", "7",    "8",    "9",     "Clear",
    "4",  "5",  "6",  "Menu", "1",  "2",  "3",  "+/-", "Up", "0",   "Dip", "Left", "Down", "Right", "Enter"};

bool AllHexDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return IsHexDigit(c); });
}

} // namespace

std::string DecodeDeviceName(std::string_view payload) {
    return std::string(payload);
}

std::string DecodeFirmware(std::string_view payload) {
    return std::string(payload);
}

std::optional<std::string> DecodeLineByte(std::string_view payload) {
    if (payload.size() != 2 || !AllHexDigits(payload))
        return std::nullopt;
    return std::string(payload);
}

std::optional<ConfigurationFields> DecodeConfiguration(std::string_view payload) {
    if (payload.size() != 10)
        return std::nullopt;
    auto field = [payload](std::size_t index) { return std::string(payload.substr(index * 2, 2)); };
    return ConfigurationFields{field(0), field(1), field(2), field(3), field(4)};
}

std::optional<WatchdogState> DecodeWatchdogState(std::string_view payload) {
    if (payload.size() != 5)
        return std::nullopt;
    return WatchdogState{payload[2] == '1', ParseHex(payload.substr(3, 2))};
}

std::optional<ModuleStatus> DecodeModuleStatus(std::string_view payload) {
    if (payload.size() != 4)
        return std::nullopt;
    const std::string_view status = payload.substr(2, 2);
    return ModuleStatus{std::string(status), status == "04"};
}

std::optional<std::vector<int>> DecodePressedKeys(std::string_view payload) {
    if (payload.empty() || payload.front() < '0' || payload.front() > '9')
        return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(payload.front() - '0');
    if (payload.size() < 1 + 2 * count)
        return std::nullopt;
    const std::string_view codes = payload.substr(1, 2 * count); // what follows the N codes is not read
    if (!AllHexDigits(codes))
        return std::nullopt;
    std::vector<int> keys;
    for (std::size_t k = 0; k < count; ++k) {
        const int key = ParseHex(codes.substr(2 * k, 2));
        if (key >= kFirstKey && key <= kLastKey)
            keys.push_back(key);
    }
    return keys;
}

std::string_view KeyName(int key) {
    if (key < kFirstKey || key > kLastKey)
        return {};
    return kKeyNames[static_cast<std::size_t>(key - kFirstKey)];
}

} // namespace tkm::protocol
