#include "protocol/Conversions.h"

#include "protocol/EConvertError.h"

#include <climits>

namespace tkm::protocol {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// KOI8-R codes of the Windows-1251 letters 0xC0..0xFF (А..Я, then а..я).
constexpr std::array<unsigned char, 64> kKoi8rLetters = {
    0xE1, 0xE2, 0xF7, 0xE7, 0xE4, 0xE5, 0xF6, 0xFA, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0,
    0xF2, 0xF3, 0xF4, 0xF5, 0xE6, 0xE8, 0xE3, 0xFE, 0xFB, 0xFD, 0xFF, 0xF9, 0xF8, 0xFC, 0xE0, 0xF1,
    0xC1, 0xC2, 0xD7, 0xC7, 0xC4, 0xC5, 0xD6, 0xDA, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0,
    0xD2, 0xD3, 0xD4, 0xD5, 0xC6, 0xC8, 0xC3, 0xDE, 0xDB, 0xDD, 0xDF, 0xD9, 0xD8, 0xDC, 0xC0, 0xD1,
};

constexpr unsigned char kWinCapitalYo = 0xA8;
constexpr unsigned char kWinSmallYo = 0xB8;

} // namespace

std::string HexText(std::uint32_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string reversed;
    do {
        reversed.push_back(kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(reversed.size()) < minDigits)
        reversed.push_back('0');
    return {reversed.rbegin(), reversed.rend()};
}

int ParseHex(std::string_view text) {
    auto fail = [text]() { return EConvertError("$" + std::string(text)); };
    if (text.empty())
        throw fail();
    long long value = 0;
    for (char c : text) {
        const int digit = HexValue(c);
        if (digit < 0)
            throw fail();
        value = value * 16 + digit;
        if (value > INT_MAX)
            throw fail();
    }
    return static_cast<int>(value);
}

std::string DecimalText(int value) {
    return std::to_string(value);
}

int ParseDecimal(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        throw EConvertError(text);
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            throw EConvertError(text);
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            throw EConvertError(text);
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        throw EConvertError(text);
    return static_cast<int>(value);
}

std::string HexToBits(std::string_view hexText) {
    std::string bits;
    bits.reserve(hexText.size() * 4);
    for (char c : hexText) {
        const int value = HexValue(c);
        for (int bit = 3; bit >= 0; --bit)
            bits.push_back(value >= 0 && ((value >> bit) & 1) != 0 ? '1' : '0');
    }
    return bits;
}

bool IsHexDigit(char c) {
    return HexValue(c) >= 0;
}

bool IsHexDigit(std::string_view text) {
    return text.size() == 1 && IsHexDigit(text.front());
}

std::string SymbolCodeFromDots(const SymbolDots& dots) {
    std::string code;
    for (int row = 0; row < kSymbolRows; ++row) {
        std::uint32_t rowByte = 0;
        for (int column = 0; column < kSymbolColumns; ++column) {
            if (dots[row * kSymbolColumns + column])
                rowByte |= 0x10u >> column;
        }
        code += HexText(rowByte, 2);
    }
    return code;
}

SymbolDots DotsFromSymbolCode(std::string_view code) {
    SymbolDots dots{};
    for (int row = 0; row < kSymbolRows; ++row) {
        const std::size_t at = static_cast<std::size_t>(row) * 2;
        std::string pair = at < code.size() ? std::string(code.substr(at, 2)) : std::string{};
        pair.resize(2, '0');
        const std::string bits = HexToBits(pair);
        for (int column = 0; column < kSymbolColumns; ++column)
            dots[row * kSymbolColumns + column] = bits[3 + column] != '0';
    }
    return dots;
}

std::string_view CodePageName(std::string_view codePageCode) {
    if (codePageCode == kCodePageCp866)
        return "CP-866";
    if (codePageCode == kCodePageWin1251)
        return "WIN-1251";
    if (codePageCode == kCodePageKoi8r)
        return "KOI-8R";
    return {};
}

std::string ToTerminalCodePage(std::string_view win1251Text, std::string_view codePageCode) {
    const bool cp866 = codePageCode == kCodePageCp866;
    const bool koi8r = codePageCode == kCodePageKoi8r;
    if (!cp866 && !koi8r)
        return std::string(win1251Text);

    std::string out;
    out.reserve(win1251Text.size());
    for (char ch : win1251Text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            out.push_back(ch);
        } else if (byte >= 0xC0) {
            if (koi8r)
                out.push_back(static_cast<char>(kKoi8rLetters[byte - 0xC0]));
            else
                out.push_back(static_cast<char>(byte <= 0xEF ? byte - 0x40 : byte - 0x10));
        } else if (byte == kWinCapitalYo) {
            out.push_back(static_cast<char>(cp866 ? 0xF0 : 0xB3));
        } else if (byte == kWinSmallYo) {
            out.push_back(static_cast<char>(cp866 ? 0xF1 : 0xA3));
        }
        // Other bytes of 0x80..0xBF have no place on the terminal's display and are dropped.
    }
    return out;
}

} // namespace tkm::protocol
