#pragma once

// The frame rules written down a second time, plainly and apart from protocol/, so that the fuzz
// targets compare the real code with an independent reading of the rules instead of with itself.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace tkm::fuzz {

inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

inline bool AllHex(std::string_view text) {
    for (const char c : text) {
        if (HexDigitValue(c) < 0)
            return false;
    }
    return true;
}

// Two upper-case digits of the byte sum modulo 256; empty with checksum mode off.
inline std::string ChecksumOf(std::string_view text, bool on) {
    if (!on)
        return {};
    unsigned sum = 0;
    for (const char c : text)
        sum += static_cast<unsigned char>(c);
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", sum % 256);
    return digits;
}

// The payload of a reply, or nothing when the reply fails.
inline std::optional<std::string> PayloadOf(std::string_view reply, std::string_view prefix,
                                            bool checksumOn) {
    const std::size_t p = prefix.size();
    const std::size_t n = reply.size();
    if (n < p || reply.substr(0, p) != prefix)
        return std::nullopt;
    if (!checksumOn)
        return std::string(n > p ? reply.substr(p, n - p - 1) : std::string_view{});
    if (n < p + 3)
        return std::nullopt;
    if (reply.substr(n - 3, 2) != ChecksumOf(reply.substr(0, n - 3), true))
        return std::nullopt;
    return std::string(reply.substr(p, n - p - 3));
}

} // namespace tkm::fuzz
