#include "protocol/Windows1251.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
#include <string>

namespace tkm::protocol {
namespace {

// The system's converter as the reference: one Windows-1251 byte to one UTF-32 character, or
// nothing where it refuses the byte.
std::optional<char32_t> SystemToUnicode(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[8] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1, outLeft = sizeof out;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || sizeof out - outLeft != 4)
        return std::nullopt;
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

TEST(Windows1251, EveryByteAsTheSystemConvertsItAndBack) {
    int assigned = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        SCOPED_TRACE(b);
        const std::optional<char32_t> expected = SystemToUnicode(byte);
        EXPECT_EQ(Win1251ToUnicode(byte), expected);
        if (expected) {
            ++assigned;
            EXPECT_EQ(UnicodeToWin1251(*expected), byte);
        }
    }
    EXPECT_EQ(assigned, 255); // all but 0x98
    EXPECT_EQ(Win1251ToUnicode(0x98), std::nullopt);
}

TEST(Windows1251, CharactersOutsideTheCodePageHaveNoByte) {
    for (const char32_t outside : {U'\u00E9' /* é */, U'\u0100', U'\u4E2D', U'\U0001F600', U'\uFFFD'})
        EXPECT_EQ(UnicodeToWin1251(outside), std::nullopt) << static_cast<unsigned>(outside);
    EXPECT_EQ(UnicodeToWin1251(U'\u20AC'), 0x88); // the euro sign is in it
    EXPECT_EQ(UnicodeToWin1251(U'\u0401'), 0xA8); // Ё
    EXPECT_EQ(UnicodeToWin1251(U'\u044F'), 0xFF); // я
}

} // namespace
} // namespace tkm::protocol
