#pragma once

// Frame helpers of the simulated terminal. They are written independently of the utility's protocol
// layer on purpose: a peer that shares the utility's code would share its mistakes too.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tkm::sim {

inline constexpr char kCarriageReturn = '\r';

// Sum of the byte values modulo 256.
std::uint8_t frameChecksum(std::string_view text);

// value as exactly two hex digits (value is taken modulo 256).
std::string hexByte(unsigned value, bool upperCase = true);

// Two upper-case hex digits to their value; nothing for anything else (lower case included).
std::optional<std::uint8_t> parseHexByte(std::string_view text);

// One hex digit, either case.
std::optional<int> hexDigitValue(char c);

// Baud code 1..10 ("01" = 300 .. "0A" = 115200) to bits per second; 0 for an unknown code.
int baudRateForCode(int baudCode);

// Bits per second to the baud code; 0 when the rate is not one of the ten.
int baudCodeForRate(int bitsPerSecond);

// Bytes as printable text: printable ASCII kept, CR as \r, everything else as \xNN, backslash doubled.
std::string escapeBytes(std::string_view bytes);

} // namespace tkm::sim
