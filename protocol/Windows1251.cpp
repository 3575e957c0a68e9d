#include "protocol/Windows1251.h"

#include <array>

namespace tkm::protocol {

namespace {

// 0x80..0xBF; 0 marks the unassigned 0x98. 0x00..0x7F are ASCII and 0xC0..0xFF are А..я (U+0410..).
constexpr std::array<char32_t, 64> kHighBytes = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

constexpr char32_t kCapitalA = 0x0410;

} // namespace

std::optional<char32_t> Win1251ToUnicode(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return kCapitalA + (byte - 0xC0);
    const char32_t character = kHighBytes[byte - 0x80];
    if (character == 0)
        return std::nullopt;
    return character;
}

std::optional<unsigned char> UnicodeToWin1251(char32_t character) {
    if (character < 0x80)
        return static_cast<unsigned char>(character);
    if (character >= kCapitalA && character < kCapitalA + 64)
        return static_cast<unsigned char>(0xC0 + (character - kCapitalA));
    for (std::size_t i = 0; i < kHighBytes.size(); ++i) {
        if (kHighBytes[i] == character && character != 0)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace tkm::protocol
