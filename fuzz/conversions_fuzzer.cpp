// The text and code conversions on arbitrary bytes. The code-page conversion is held against the
// system's own CP866 and KOI8-R tables (iconv), Windows-1251 against its Unicode table; the number
// texts against plain reference parsers; symbol codes go round from code to dots and back.
#include "FuzzCheck.h"
#include "ReferenceFrame.h"

#include "protocol/Conversions.h"
#include "protocol/EConvertError.h"
#include "protocol/Windows1251.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace tkm::protocol;
using tkm::fuzz::HexDigitValue;

// One byte through iconv; nothing when the target code page has no such character.
std::optional<unsigned char> IconvByte(const char* to, unsigned char byte) {
    const iconv_t cd = iconv_open(to, "CP1251");
    FUZZ_CHECK(cd != reinterpret_cast<iconv_t>(-1));
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || sizeof out - outLeft != 1)
        return std::nullopt;
    return static_cast<unsigned char>(out[0]);
}

// The terminal's byte for every Windows-1251 byte that the display shows: the letters, Ё and ё.
struct Oracle {
    std::array<std::optional<unsigned char>, 256> cp866;
    std::array<std::optional<unsigned char>, 256> koi8r;
};

const Oracle& TheOracle() {
    static const Oracle oracle = [] {
        Oracle o;
        for (int byte = 0xC0; byte <= 0xFF; ++byte) {
            o.cp866[byte] = IconvByte("CP866", static_cast<unsigned char>(byte));
            o.koi8r[byte] = IconvByte("KOI8-R", static_cast<unsigned char>(byte));
        }
        for (const int yo : {0xA8, 0xB8}) {
            o.cp866[yo] = IconvByte("CP866", static_cast<unsigned char>(yo));
            o.koi8r[yo] = IconvByte("KOI8-R", static_cast<unsigned char>(yo));
        }
        return o;
    }();
    return oracle;
}

void CheckCodePage(std::string_view text, std::string_view code) {
    const std::string out = ToTerminalCodePage(text, code);
    const bool cp866 = code == "00";
    const bool koi8r = code == "02";
    if (!cp866 && !koi8r) {
        FUZZ_CHECK(out == text);
        return;
    }
    const auto& table = cp866 ? TheOracle().cp866 : TheOracle().koi8r;
    // Byte by byte: ASCII as it is, a letter as the code page has it, anything else left out.
    std::size_t at = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            FUZZ_CHECK(at < out.size() && out[at] == c);
            ++at;
        } else if (table[byte]) {
            FUZZ_CHECK(at < out.size() && static_cast<unsigned char>(out[at]) == *table[byte]);
            ++at;
        }
    }
    FUZZ_CHECK(at == out.size());
}

void CheckHexParsing(std::string_view text) {
    std::optional<long long> expected;
    if (!text.empty()) {
        long long value = 0;
        for (const char c : text) {
            const int digit = HexDigitValue(c);
            if (digit < 0 || value > INT_MAX) {
                value = -1;
                break;
            }
            value = value * 16 + digit;
        }
        if (value >= 0 && value <= INT_MAX)
            expected = value;
    }
    try {
        const int value = ParseHex(text);
        FUZZ_CHECK(expected && value == *expected);
        // The text back: the same digits in upper case, leading zeros kept up to the text's length.
        std::string upper(text);
        for (char& c : upper)
            c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
        FUZZ_CHECK(HexText(static_cast<std::uint32_t>(value), static_cast<int>(text.size())) == upper);
    } catch (const EConvertError& error) {
        FUZZ_CHECK(!expected);
        FUZZ_CHECK(error.text() == "$" + std::string(text));
    }
}

void CheckDecimalParsing(std::string_view text) {
    std::optional<long long> expected;
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (!digits.empty() && digits.size() <= 12) {
        long long value = 0;
        bool ok = true;
        for (const char c : digits) {
            ok = ok && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        value = negative ? -value : value;
        if (ok && value >= INT_MIN && value <= INT_MAX)
            expected = value;
    } else if (digits.size() > 12) {
        bool allDigits = true;
        for (const char c : digits)
            allDigits = allDigits && c >= '0' && c <= '9';
        // Leading zeros may make a long text a small number.
        if (allDigits) {
            const std::size_t first = digits.find_first_not_of('0');
            const std::string_view significant =
                first == std::string_view::npos ? std::string_view("0") : digits.substr(first);
            if (significant.size() <= 10) {
                long long value = 0;
                for (const char c : significant)
                    value = value * 10 + (c - '0');
                value = negative ? -value : value;
                if (value >= INT_MIN && value <= INT_MAX)
                    expected = value;
            }
        }
    }
    try {
        const int value = ParseDecimal(text);
        FUZZ_CHECK(expected && value == *expected);
        FUZZ_CHECK(ParseDecimal(DecimalText(value)) == value);
    } catch (const EConvertError& error) {
        FUZZ_CHECK(!expected);
        FUZZ_CHECK(error.text() == text);
    }
}

void CheckBits(std::string_view text) {
    const std::string bits = HexToBits(text);
    FUZZ_CHECK(bits.size() == 4 * text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int value = std::max(HexDigitValue(text[i]), 0);
        for (int bit = 0; bit < 4; ++bit)
            FUZZ_CHECK(bits[4 * i + bit] == (((value >> (3 - bit)) & 1) != 0 ? '1' : '0'));
    }
    FUZZ_CHECK(IsHexDigit(text) == (text.size() == 1 && HexDigitValue(text[0]) >= 0));
}

void CheckSymbolCode(std::string_view code) {
    const SymbolDots dots = DotsFromSymbolCode(code);
    const std::string rebuilt = SymbolCodeFromDots(dots);
    FUZZ_CHECK(rebuilt.size() == 16);
    for (int row = 0; row < kSymbolRows; ++row) {
        // The row's byte, characters that are not hex digits (or missing) as 0, bits 7..5 dropped.
        int expected = 0;
        for (int k = 0; k < 2; ++k) {
            const std::size_t at = static_cast<std::size_t>(2 * row + k);
            expected = expected * 16 + (at < code.size() ? std::max(HexDigitValue(code[at]), 0) : 0);
        }
        expected &= 0x1F;
        const int got = HexDigitValue(rebuilt[2 * row]) * 16 + HexDigitValue(rebuilt[2 * row + 1]);
        FUZZ_CHECK(got == expected);
        FUZZ_CHECK(std::string_view(rebuilt).substr(2 * row, 2).find_first_of("abcdef") ==
                   std::string_view::npos);
    }
    FUZZ_CHECK(DotsFromSymbolCode(rebuilt) == dots);
}

void CheckWindows1251(std::string_view text, char32_t character) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const std::optional<char32_t> unicode = Win1251ToUnicode(byte);
        FUZZ_CHECK(unicode.has_value() == (byte != 0x98));
        if (unicode)
            FUZZ_CHECK(UnicodeToWin1251(*unicode) == byte);
    }
    const std::optional<unsigned char> byte = UnicodeToWin1251(character);
    if (byte)
        FUZZ_CHECK(Win1251ToUnicode(*byte) == character);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every byte against the system's Unicode table of the code page, once.
    const iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    FUZZ_CHECK(cd != reinterpret_cast<iconv_t>(-1));
    for (int byte = 0; byte < 256; ++byte) {
        char in[1] = {static_cast<char>(byte)};
        char out[4] = {};
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        const bool known = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        if (!known)
            continue; // glibc has no character for 0x98 either
        char32_t expected = 0;
        std::memcpy(&expected, out, sizeof expected);
        FUZZ_CHECK(Win1251ToUnicode(static_cast<unsigned char>(byte)) == expected);
    }
    iconv_close(cd);
    TheOracle();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string code = input.ConsumeBytesAsString(2);
    const auto character = input.ConsumeIntegral<std::uint32_t>();
    const std::uint32_t number = input.ConsumeIntegral<std::uint32_t>();
    const int minDigits = input.ConsumeIntegralInRange(0, 12);
    const std::string text = input.ConsumeRemainingBytesAsString();

    for (const std::string_view page : {"00", "01", "02", ""})
        CheckCodePage(text, page);
    CheckCodePage(text, code);
    CheckHexParsing(text);
    CheckDecimalParsing(text);
    CheckBits(text);
    CheckSymbolCode(text);
    CheckWindows1251(text, static_cast<char32_t>(character));

    const std::string hex = HexText(number, minDigits);
    FUZZ_CHECK(hex.size() >= static_cast<std::size_t>(std::max(minDigits, 1)));
    FUZZ_CHECK(hex.size() == 1 || hex.size() == static_cast<std::size_t>(minDigits) || hex[0] != '0');
    std::uint64_t back = 0;
    for (const char c : hex) {
        FUZZ_CHECK(HexDigitValue(c) >= 0 && !(c >= 'a' && c <= 'f'));
        back = back * 16 + static_cast<std::uint64_t>(HexDigitValue(c));
    }
    FUZZ_CHECK(back == number);
    return 0;
}
