#include "sim/SimFrame.h"

#include <array>

namespace tkm::sim {

namespace {
constexpr std::array<int, 10> kBaudRates{300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
}

std::uint8_t frameChecksum(std::string_view text) {
    std::uint8_t sum = 0;
    for (char c : text)
        sum = static_cast<std::uint8_t>(sum + static_cast<unsigned char>(c));
    return sum;
}

std::string hexByte(unsigned value, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    value &= 0xFF;
    return {digits[value >> 4], digits[value & 0xF]};
}

std::optional<std::uint8_t> parseHexByte(std::string_view text) {
    if (text.size() != 2)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<int> hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

int baudRateForCode(int baudCode) {
    if (baudCode < 1 || baudCode > static_cast<int>(kBaudRates.size()))
        return 0;
    return kBaudRates[static_cast<std::size_t>(baudCode - 1)];
}

int baudCodeForRate(int bitsPerSecond) {
    for (std::size_t i = 0; i < kBaudRates.size(); ++i)
        if (kBaudRates[i] == bitsPerSecond)
            return static_cast<int>(i) + 1;
    return 0;
}

std::string escapeBytes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\\')
            out += "\\\\";
        else if (byte >= 0x20 && byte < 0x7F)
            out += c;
        else
            out += "\\x" + hexByte(byte, false);
    }
    return out;
}

} // namespace tkm::sim
