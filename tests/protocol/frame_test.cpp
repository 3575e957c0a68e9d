#include "protocol/Frame.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

namespace tkm::protocol {
namespace {

TEST(Frame, AddressIsTwoUpperCaseHexDigits) {
    EXPECT_EQ(AddressText(0), "00");
    EXPECT_EQ(AddressText(10), "0A");
    EXPECT_EQ(AddressText(255), "FF");
    EXPECT_THROW(AddressText(256), std::out_of_range);
    EXPECT_THROW(AddressText(-1), std::out_of_range);
}

TEST(Frame, ChecksumIsTheWrappingByteSum) {
    EXPECT_EQ(FrameChecksum("$01M", true), "D2");
    EXPECT_EQ(FrameChecksum(">0F", true), "B4");
    // 0xFF + 0x02 = 0x101: only the low byte is written.
    EXPECT_EQ(FrameChecksum("\xFF\x02", true), "01");
    EXPECT_EQ(FrameChecksum("\x80\x80", true), "00");
    EXPECT_EQ(FrameChecksum("", true), "00");
    EXPECT_EQ(FrameChecksum("$01M", false), "");
}

TEST(Frame, FrameCarriesChecksumOnlyInChecksumMode) {
    EXPECT_EQ(BuildFrame("$01M", true), "$01MD2\r");
    EXPECT_EQ(BuildFrame("$01M", false), "$01M\r");
    EXPECT_EQ(BuildFrame("~**", false), "~**\r");
}

struct UnpackCase {
    const char* name;
    std::string reply;
    std::string prefix;
    bool checksum;
    std::optional<std::string> payload;
};

// Readable test names (CTest shows the parameter).
void PrintTo(const UnpackCase& c, std::ostream* os) {
    *os << c.name;
}

class UnpackReplyTest : public ::testing::TestWithParam<UnpackCase> {};

TEST_P(UnpackReplyTest, Unpacks) {
    const UnpackCase& c = GetParam();
    EXPECT_EQ(UnpackReply(c.reply, c.prefix, c.checksum), c.payload);
}

INSTANTIATE_TEST_SUITE_P(
    Frame, UnpackReplyTest,
    ::testing::Values(UnpackCase{"ChecksumExample", ">0FB4\r", ">", true, "0F"},
                      UnpackCase{"PlainReply", "!01TKM-9214\r", "!01", false, "TKM-9214"},
                      UnpackCase{"TerminatorValueNotExamined", "!01ABx", "!01", false, "AB"},
                      UnpackCase{"OnlyPrefixAndTerminator", "!01\r", "!01", false, ""},
                      UnpackCase{"OnlyPrefixNoTerminator", "!01", "!01", false, ""},
                      UnpackCase{"ReplyShorterThanPrefix", "!0", "!01", false, std::nullopt},
                      UnpackCase{"PrefixCaseMatters", "!0a12\r", "!0A", false, std::nullopt},
                      UnpackCase{"PrefixOnlyAtStart", "x!01AB\r", "!01", false, std::nullopt},
                      UnpackCase{"TrailingDataStaysInPayload", "!01AB\rjunk\r", "!01", false, "AB\rjunk"},
                      UnpackCase{"TrailingDataWithChecksum", ">0FB4\rXY\r", ">", true, std::nullopt},
                      UnpackCase{"EmptyPrefixEmptyReply", "", "", false, ""},
                      UnpackCase{"EmptyPrefixAnyReply", "whatever\r", "", false, "whatever"},
                      UnpackCase{"EmptyPrefixEmptyReplyChecksumOn", "", "", true, std::nullopt},
                      UnpackCase{"EmptyPrefixChecksumOfNothing", "00\r", "", true, ""},
                      UnpackCase{"WrongChecksum", ">0FB5\r", ">", true, std::nullopt},
                      UnpackCase{"MissingChecksumDigits", ">0F\r", ">", true, std::nullopt},
                      UnpackCase{"ChecksumOverlappingPrefixFails", "!051\r", "!05", true, std::nullopt},
                      UnpackCase{"ChecksumOnEmptyPayload", "!0182\r", "!01", true, ""},
                      // The checksum covers the prefix too: ">" + "0F" sums to B4, "0F" alone to 76.
                      UnpackCase{"ChecksumWithoutPrefixFails", ">0F76\r", ">", true, std::nullopt}),
    [](const ::testing::TestParamInfo<UnpackCase>& info) { return std::string(info.param.name); });

TEST(Frame, UpperCaseVersionOfLowerCaseChecksumPasses) {
    const std::string body = "!01TKM";
    const std::string checksum = FrameChecksum(body, true);
    ASSERT_NE(checksum.find_first_of("ABCDEF"), std::string::npos) << "needs a letter digit";
    std::string lower = checksum;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(UnpackReply(body + checksum + "\r", "!01", true), "TKM");
    EXPECT_EQ(UnpackReply(body + lower + "\r", "!01", true), std::nullopt);
}

} // namespace
} // namespace tkm::protocol
