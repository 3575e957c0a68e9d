#include "protocol/Commands.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>

namespace tkm::protocol {
namespace {

struct CommandCase {
    const char* name;
    Command actual;
    Command expected;
};

// Readable test names (CTest shows the parameter).
void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandTextTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandTextTest, Composes) {
    EXPECT_EQ(GetParam().actual, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, CommandTextTest,
    ::testing::Values(
        CommandCase{"DeviceName", ReadDeviceName(5), {"$05M", "!05", 0}},
        CommandCase{"Firmware", ReadFirmware(255), {"$FFF", "!FF", 0}},
        CommandCase{"ReadDirection", ReadDirection(10), {"$0AD", "!0A", 0}},
        CommandCase{"WriteDirection", WriteDirection(5, 0x81), {"$05D81", "!05", 100}},
        CommandCase{"PowerOnValue", ReadPowerOnValue(5), {"~054P", "!05", 0}},
        CommandCase{"SafeValue", ReadSafeValue(5), {"~054S", "!05", 0}},
        CommandCase{"SavePowerOn", SavePowerOnState(5), {"~055P", "!05", 100}},
        CommandCase{"SaveSafe", SaveSafeState(5), {"~055S", "!05", 100}},
        CommandCase{"ReadLines", ReadLineState(5), {"@05", ">", 0}},
        CommandCase{"WriteLines", WriteLineState(5, 0x0F), {"@050F", ">", 0}},
        CommandCase{"ClearDisplay", ClearDisplay(0), {"$00T", "!00", 0}},
        CommandCase{"CursorRow1Column5", WriteAt(5, 1, 5), {"$05T105", "!05", 0}},
        CommandCase{"CursorRow3Column19", WriteAt(5, 3, 19), {"$05T319", "!05", 0}},
        CommandCase{"CursorHome", WriteAt(5, 0, 0), {"$05T000", "!05", 0}},
        CommandCase{"KeyEcho", WriteAt(5, 1, 0, "Key 12 "), {"$05T100Key 12 ", "!05", 0}},
        CommandCase{"TextBySend", WriteText(5, "Hi"), {"$05OHi", "!05", 0}},
        CommandCase{"TextByEnter", WriteText(5, "Hi", TextSentBy::EnterKey), {"$05OHi", "!05", 50}},
        CommandCase{"EmptyText", WriteText(5, ""), {"$05O", "!05", 0}},
        CommandCase{
            "DisplayStartUpSettings", WriteDisplaySettings(5, DisplayOptions{}), {"$05S7", "!05", 100}},
        CommandCase{
            "DisplayAllSettings", WriteDisplaySettings(5, {true, true, true, true}), {"$05SF", "!05", 100}},
        CommandCase{"DisplayNoSettings",
                    WriteDisplaySettings(5, {false, false, false, false}),
                    {"$05S0", "!05", 100}},
        CommandCase{
            "DisplayEepromOnly", WriteDisplaySettings(5, {false, false, false, true}), {"$05S8", "!05", 100}},
        CommandCase{"Indicator1Off", SetIndicator(5, 1, false), {"$05I10", "!05", 0}},
        CommandCase{"Indicator2On", SetIndicator(5, 2, true), {"$05I21", "!05", 0}},
        CommandCase{"PressedKeys", ReadPressedKeys(5), {"$05K", "!05", 0}},
        CommandCase{"Symbol", WriteSymbol(5, 5, "ffFF00001F1F0000"), {"$05G5ffFF00001F1F0000", "!05", 300}},
        CommandCase{"ReadConfiguration", ReadConfiguration(5), {"$052", "!", 0}},
        CommandCase{
            "WriteConfiguration", WriteConfiguration(5, {6, 5, 1, false}), {"%05060Z060100", "!06", 500}},
        CommandCase{"WriteConfigurationChecksum",
                    WriteConfiguration(0, {0xA5, 9, 2, true}),
                    {"%00A50Z0A0240", "!A5", 500}},
        CommandCase{"ReadWatchdog", ReadWatchdogState(5), {"~052", "!", 0}},
        CommandCase{"WatchdogOn", WriteWatchdog(5, true, 30), {"~05311E", "!05", 0}},
        CommandCase{"WatchdogOff", WriteWatchdog(5, false, 255), {"~0530FF", "!05", 0}},
        CommandCase{"ModuleStatus", ReadModuleStatus(5), {"~050", "!", 0}},
        CommandCase{"ResetStatus", ResetModuleStatus(5), {"~051", "!05", 0}},
        CommandCase{"HostAlive", HostAlive(), {"~**", "", 0}}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST(Catalogue, RejectsValuesTheControlsCannotProduce) {
    EXPECT_THROW(ReadDeviceName(256), std::out_of_range);
    EXPECT_THROW(WriteLineState(5, 256), std::out_of_range);
    EXPECT_THROW(WriteDirection(5, -1), std::out_of_range);
    EXPECT_THROW(WriteAt(5, 4, 0), std::out_of_range);
    EXPECT_THROW(WriteAt(5, 0, 20), std::out_of_range);
    EXPECT_THROW(SetIndicator(5, 3, true), std::out_of_range);
    EXPECT_THROW(WriteSymbol(5, 8, "0000000000000000"), std::out_of_range);
    EXPECT_THROW(WriteSymbol(5, 0, "000000000000000"), std::invalid_argument);
    EXPECT_THROW(WriteSymbol(5, 0, "000000000000000G"), std::invalid_argument);
    EXPECT_THROW(WriteConfiguration(5, {6, 10, 1, false}), std::out_of_range);
    EXPECT_THROW(WriteConfiguration(5, {6, 5, 3, false}), std::out_of_range);
    EXPECT_THROW(WriteWatchdog(5, true, 256), std::out_of_range);
}

} // namespace
} // namespace tkm::protocol
