#include "protocol/EConvertError.h"
#include "protocol/Replies.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tkm::protocol {
namespace {

TEST(Replies, NameAndFirmwareAreKeptWhole) {
    EXPECT_EQ(DecodeDeviceName(" TKM-9214 \x8F"), " TKM-9214 \x8F");
    EXPECT_EQ(DecodeFirmware(""), "");
}

TEST(Replies, LineByteIsExactlyTwoHexDigits) {
    EXPECT_EQ(DecodeLineByte("0F"), "0F");
    EXPECT_EQ(DecodeLineByte("a5"), "a5");
    for (const char* bad : {"", "0", "0F0", "G0", " 1", "0\r"})
        EXPECT_EQ(DecodeLineByte(bad), std::nullopt) << "payload '" << bad << "'";
}

TEST(Replies, ConfigurationNeedsExactlyTenCharacters) {
    EXPECT_EQ(DecodeConfiguration("050Z060100"), (ConfigurationFields{"05", "0Z", "06", "01", "00"}));
    for (const char* bad : {"", "050Z0601", "050Z06010", "050Z0601000"})
        EXPECT_EQ(DecodeConfiguration(bad), std::nullopt) << "payload '" << bad << "'";
}

TEST(Replies, WatchdogState) {
    EXPECT_EQ(DecodeWatchdogState("0510A"), (WatchdogState{true, 10}));
    EXPECT_EQ(DecodeWatchdogState("01128"), (WatchdogState{true, 40}));
    EXPECT_EQ(DecodeWatchdogState("050FF"), (WatchdogState{false, 255}));
    EXPECT_EQ(DecodeWatchdogState("05x00"), (WatchdogState{false, 0}));
    EXPECT_EQ(DecodeWatchdogState("0510"), std::nullopt);
    EXPECT_EQ(DecodeWatchdogState("0510A0"), std::nullopt);
    EXPECT_THROW(DecodeWatchdogState("051ZZ"), EConvertError);
}

TEST(Replies, ModuleStatusAlarmIsZeroFour) {
    EXPECT_EQ(DecodeModuleStatus("0504"), (ModuleStatus{"04", true}));
    EXPECT_EQ(DecodeModuleStatus("0500"), (ModuleStatus{"00", false}));
    EXPECT_EQ(DecodeModuleStatus("0514"), (ModuleStatus{"14", false}));
    EXPECT_EQ(DecodeModuleStatus("050"), std::nullopt);
    EXPECT_EQ(DecodeModuleStatus("05040"), std::nullopt);
}

struct KeysCase {
    const char* payload;
    std::optional<std::vector<int>> keys;
};

// Readable test names (CTest shows the parameter).
void PrintTo(const KeysCase& c, std::ostream* os) {
    *os << "payload '" << c.payload << "'";
}

class PressedKeysTest : public ::testing::TestWithParam<KeysCase> {};

TEST_P(PressedKeysTest, Decodes) {
    EXPECT_EQ(DecodePressedKeys(GetParam().payload), GetParam().keys)
        << "payload '" << GetParam().payload << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Replies, PressedKeysTest,
    ::testing::Values(KeysCase{"0", std::vector<int>{}}, KeysCase{"2011E", std::vector<int>{1, 30}},
                      KeysCase{"20A1e", std::vector<int>{10, 30}}, KeysCase{"11E", std::vector<int>{30}},
                      KeysCase{"3001F0C", std::vector<int>{12}}, // 0 and 31 have no key
                      KeysCase{"1FF", std::vector<int>{}}, KeysCase{"", std::nullopt},
                      KeysCase{"A01", std::nullopt}, KeysCase{"201", std::nullopt},
                      KeysCase{"1G1", std::nullopt}, KeysCase{"-1", std::nullopt},
                      // What follows the announced codes is not part of the list.
                      KeysCase{"10AX", std::vector<int>{10}}, KeysCase{"0 ", std::vector<int>{}},
                      KeysCase{"1011", std::vector<int>{1}}, KeysCase{"2011EZZ", std::vector<int>{1, 30}}));

} // namespace
} // namespace tkm::protocol
