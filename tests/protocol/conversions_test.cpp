#include "protocol/Conversions.h"
#include "protocol/EConvertError.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

namespace tkm::protocol {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The system's own converter, as an independent reference for the letter tables.
std::string SystemConvert(const std::string& text, const char* to) {
    iconv_t cd = iconv_open(to, "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "iconv_open failed";
    std::string in = text;
    std::string out(in.size() * 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return "iconv failed";
    out.resize(out.size() - outLeft);
    return out;
}

TEST(HexConversions, FormatsWithMinimumWidth) {
    EXPECT_EQ(HexText(255, 2), "FF");
    EXPECT_EQ(HexText(30, 2), "1E");
    EXPECT_EQ(HexText(256, 2), "100");
    EXPECT_EQ(HexText(0, 2), "00");
    EXPECT_EQ(HexText(7, 1), "7");
    EXPECT_EQ(HexText(15, 1), "F");
    EXPECT_EQ(HexText(0xABCDEF, 0), "ABCDEF");
}

TEST(HexConversions, ParsesEitherCase) {
    EXPECT_EQ(ParseHex("FF"), 255);
    EXPECT_EQ(ParseHex("0a"), 10);
    EXPECT_EQ(ParseHex("1E"), 30);
    EXPECT_EQ(ParseHex("0000000001"), 1);
    EXPECT_EQ(ParseHex("7FFFFFFF"), 0x7FFFFFFF);
}

TEST(HexConversions, ParseFailureQuotesTheNumberText) {
    for (const std::string bad : {"", "G1", "1 ", " 1", "-1", "$1", "0x1", "80000000"}) {
        try {
            ParseHex(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'$" + bad + "' is not a valid integer value");
        }
    }
}

TEST(DecimalConversions, FormatsAndParses) {
    EXPECT_EQ(DecimalText(12), "12");
    EXPECT_EQ(DecimalText(-3), "-3");
    EXPECT_EQ(ParseDecimal("19"), 19);
    EXPECT_EQ(ParseDecimal("-7"), -7);
    EXPECT_EQ(ParseDecimal("+7"), 7);
    EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimal("-2147483648"), -2147483647 - 1);
}

TEST(DecimalConversions, ParseFailureQuotesTheText) {
    for (const std::string bad : {"", "-", "1A", " 5", "5 ", "2147483648", "99999999999999999999"}) {
        try {
            ParseDecimal(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + bad + "' is not a valid integer value");
            EXPECT_EQ(e.text(), bad);
        }
    }
}

TEST(HexToBits, FourBitsPerCharacter) {
    EXPECT_EQ(HexToBits("a5"), "10100101");
    EXPECT_EQ(HexToBits("G1"), "00000001");
    EXPECT_EQ(HexToBits(""), "");
    EXPECT_EQ(HexToBits("0F"), "00001111");
    EXPECT_EQ(HexToBits("9"), "1001");
    EXPECT_EQ(HexToBits("fE"), "11111110");
}

TEST(HexDigitTest, ExactlyOneHexCharacter) {
    int accepted = 0;
    for (int c = 0; c < 256; ++c)
        accepted += IsHexDigit(std::string(1, static_cast<char>(c))) ? 1 : 0;
    EXPECT_EQ(accepted, 22);
    EXPECT_TRUE(IsHexDigit("f"));
    EXPECT_FALSE(IsHexDigit("g"));
    EXPECT_FALSE(IsHexDigit(""));
    EXPECT_FALSE(IsHexDigit("0A"));
}

TEST(SymbolCode, DotsToCode) {
    SymbolDots dots{};
    EXPECT_EQ(SymbolCodeFromDots(dots), "0000000000000000");
    dots[0] = true; // top-left
    EXPECT_EQ(SymbolCodeFromDots(dots), "1000000000000000");
    dots = {};
    for (int c = 0; c < 5; ++c)
        dots[7 * 5 + c] = true; // whole bottom row
    EXPECT_EQ(SymbolCodeFromDots(dots), "000000000000001F");
    dots = {};
    dots[2 * 5 + 4] = true; // row 2, rightmost
    dots[3 * 5 + 1] = true; // row 3, second from the left
    EXPECT_EQ(SymbolCodeFromDots(dots), "0000010800000000");
}

TEST(SymbolCode, CodeToDots) {
    SymbolDots allOn;
    allOn.fill(true);
    EXPECT_EQ(DotsFromSymbolCode("1F1F1F1F1F1F1F1F"), allOn);
    EXPECT_EQ(DotsFromSymbolCode("E0E0E0E0E0E0E0E0"), SymbolDots{});
    EXPECT_EQ(DotsFromSymbolCode("ffffffffffffffff"), allOn);
    EXPECT_EQ(DotsFromSymbolCode(""), SymbolDots{});
    EXPECT_EQ(DotsFromSymbolCode("GGGGGGGGGGGGGGGG"), SymbolDots{});

    const SymbolDots one = DotsFromSymbolCode("0000010800000000");
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(one[i], i == 2 * 5 + 4 || i == 3 * 5 + 1) << "dot " << i;
}

TEST(SymbolCode, ShortCodeCountsMissingDigitsAsZero) {
    // Row 7 holds only its high digit "1": bit 4 is set, so only the leftmost dot is on.
    const SymbolDots dots = DotsFromSymbolCode("000000000000001");
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(dots[i], i == 35) << "dot " << i;
}

TEST(SymbolCode, RoundTripsEveryRowPattern) {
    for (int pattern = 0; pattern < 32; ++pattern) {
        const std::string row = HexText(static_cast<std::uint32_t>(pattern), 2);
        std::string code;
        for (int r = 0; r < 8; ++r)
            code += row;
        EXPECT_EQ(SymbolCodeFromDots(DotsFromSymbolCode(code)), code);
    }
}

const std::string kGreeting = Bytes({0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2});

TEST(CodePage, GreetingExample) {
    EXPECT_EQ(ToTerminalCodePage(kGreeting, "00"), Bytes({0x8F, 0xE0, 0xA8, 0xA2, 0xA5, 0xE2}));
    EXPECT_EQ(ToTerminalCodePage(kGreeting, "02"), Bytes({0xF0, 0xD2, 0xC9, 0xD7, 0xC5, 0xD4}));
    EXPECT_EQ(ToTerminalCodePage(kGreeting, "01"), kGreeting);
}

TEST(CodePage, OtherCodesLeaveTextUnchanged) {
    const std::string text = "A" + kGreeting + Bytes({0xB9, 0xAB, 0x80});
    for (const char* code : {"01", "", "03", "0", "000", "2"})
        EXPECT_EQ(ToTerminalCodePage(text, code), text) << "code '" << code << "'";
}

TEST(CodePage, DropsBytesWithoutLetters) {
    const std::string text = Bytes({'N', 0xB9, '1', ' ', 0xAB, 'x', 0xBB});
    EXPECT_EQ(ToTerminalCodePage(text, "00"), "N1 x");
    EXPECT_EQ(ToTerminalCodePage(text, "02"), "N1 x");
    EXPECT_EQ(ToTerminalCodePage(text, "01"), text);

    std::string allDropped;
    for (int b = 0x80; b <= 0xBF; ++b) {
        if (b != 0xA8 && b != 0xB8)
            allDropped.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(ToTerminalCodePage(allDropped, "00"), "");
    EXPECT_EQ(ToTerminalCodePage(allDropped, "02"), "");
}

TEST(CodePage, Names) {
    EXPECT_EQ(CodePageName("00"), "CP-866");
    EXPECT_EQ(CodePageName("01"), "WIN-1251");
    EXPECT_EQ(CodePageName("02"), "KOI-8R");
    EXPECT_EQ(CodePageName("03"), "");
    EXPECT_EQ(CodePageName(""), "");
}

TEST(CodePage, AsciiIsCopied) {
    std::string ascii;
    for (int b = 0; b < 0x80; ++b)
        ascii.push_back(static_cast<char>(b));
    EXPECT_EQ(ToTerminalCodePage(ascii, "00"), ascii);
    EXPECT_EQ(ToTerminalCodePage(ascii, "02"), ascii);
}

TEST(CodePage, YoLetters) {
    EXPECT_EQ(ToTerminalCodePage(Bytes({0xA8, 0xB8}), "00"), Bytes({0xF0, 0xF1}));
    EXPECT_EQ(ToTerminalCodePage(Bytes({0xA8, 0xB8}), "02"), Bytes({0xB3, 0xA3}));
}

TEST(CodePage, LettersMatchThePublishedTables) {
    std::string letters;
    for (int b = 0xC0; b <= 0xFF; ++b)
        letters.push_back(static_cast<char>(b));
    letters += Bytes({0xA8, 0xB8});
    EXPECT_EQ(ToTerminalCodePage(letters, "00"), SystemConvert(letters, "CP866"));
    EXPECT_EQ(ToTerminalCodePage(letters, "02"), SystemConvert(letters, "KOI8-R"));
}

} // namespace
} // namespace tkm::protocol
