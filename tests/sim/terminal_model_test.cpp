#include "sim/ManualSimClock.h"
#include "sim/SimFrame.h"
#include "sim/TerminalModel.h"

#include <gtest/gtest.h>

#include <random>

namespace tkm::sim {
namespace {

using namespace std::chrono_literals;

class TerminalModelTest : public ::testing::Test {
protected:
    explicit TerminalModelTest(TerminalSettings settings = {}) : model(settings, clock) {}

    // The reply without checksum and terminator, or "-" for none.
    std::string reply(std::string_view frame) { return model.receiveFrame(frame).reply.value_or("-"); }

    std::shared_ptr<ManualSimClock> clock = std::make_shared<ManualSimClock>();
    TerminalModel model;
};

TEST(SimFrameTest, ChecksumAndHex) {
    EXPECT_EQ(hexByte(frameChecksum("$01M")), "D2");
    EXPECT_EQ(hexByte(frameChecksum(">0F")), "B4");
    EXPECT_EQ(frameChecksum(std::string(3, '\xFF')), 0xFD); // wraps modulo 256
    EXPECT_EQ(hexByte(0xAB, false), "ab");
    EXPECT_EQ(parseHexByte("0A"), 0x0A);
    EXPECT_FALSE(parseHexByte("0a"));
    EXPECT_FALSE(parseHexByte("0"));
    EXPECT_EQ(baudRateForCode(1), 300);
    EXPECT_EQ(baudRateForCode(10), 115200);
    EXPECT_EQ(baudRateForCode(11), 0);
    EXPECT_EQ(baudCodeForRate(9600), 6);
    EXPECT_EQ(escapeBytes("$01M\r\xFF\\"), "$01M\\r\\xff\\\\");
}

// Every command of the catalogue, on a fresh terminal at address 01 (checksum off).
TEST_F(TerminalModelTest, AnswersTheCatalogue) {
    const struct {
        const char* frame;
        const char* reply;
    } cases[] = {
        {"$01M", "!01TKM-9214"},
        {"$01F", "!011.02"},
        {"$01D", "!0100"},
        {"~014P", "!0100"},
        {"~014S", "!0100"},
        {"@01", ">00"},
        {"$01T", "!01"},
        {"$012", "!010Z060100"},
        {"~012", "!01000"},
        {"~010", "!0100"},
        {"~011", "!01"},
        {"$01K", "!010"},
        {"$01T000KEYBOARD TEST", "!01"},
        {"$01OHello", "!01"},
        {"$01O", "!01"},
        {"$01S7", "!01"},
        {"$01I11", "!01"},
        {"$01I20", "!01"},
        {"$01G31f1f1f1f1f1f1f1f", "!01"},
        {"$01D0F", "!01"},
        {"@01A5", ">"},
        {"~015P", "!01"},
        {"~015S", "!01"},
        {"~01311E", "!01"},
        // Refused: unknown commands and malformed data.
        {"$01X", "?01"},
        {"$01M1", "?01"},
        {"$01S", "?01"},
        {"$01Sa", "?01"},
        {"$01S10", "?01"},
        {"$01I30", "?01"},
        {"$01I1", "?01"},
        {"$01G8"
         "0000000000000000",
         "?01"},
        {"$01G0"
         "000000000000000",
         "?01"},
        {"$01G0"
         "00000000000000G0",
         "?01"},
        {"$01T4", "?01"},
        {"$01T4000", "?01"},
        {"$01T020x", "?01"},
        {"$01T0", "?01"},
        {"$01D0", "?01"},
        {"$01Dxx", "?01"},
        {"@01G0", "?01"},
        {"@01a5", "?01"},
        {"~013200", "?01"},
        {"~0131", "?01"},
        {"~014X", "?01"},
        {"~01", "?01"},
        {"%01000Z060100", "?01"},
        {"%01020Z0B0100", "?01"},
        {"%01020Z000100", "?01"},
        {"%01020Z060300", "?01"},
        {"%01020Z060120", "?01"},
        {"%01020Z0601", "?01"},
        // Not answered at all.
        {"$02M", "-"},
        {"$0aM", "-"},
        {"!01M", "-"},
        {"$0", "-"},
        {"", "-"},
        {"~**", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reply(c.frame), c.reply) << "frame " << c.frame;
}

TEST_F(TerminalModelTest, DisplayKeepsTheBytesReceived) {
    reply("$01T");
    reply("$01T105Hello");
    reply("$01O, you");
    reply("$01T318ABCD"); // runs on from the last row into the first
    reply("$01T200\xCF\xF0\xE8");
    const TerminalState s = model.state();
    EXPECT_EQ(s.rows[0], "CD                  ");
    EXPECT_EQ(s.rows[1], "     Hello, you     ");
    EXPECT_EQ(s.rows[2], "\xCF\xF0\xE8                 ");
    EXPECT_EQ(s.rows[3], "                  AB");
    EXPECT_EQ(s.cursorRow, 2);
    EXPECT_EQ(s.cursorColumn, 3);
    reply("$01T");
    EXPECT_EQ(model.state().rows[1], std::string(20, ' '));
    EXPECT_EQ(model.state().cursorColumn, 0);
}

TEST_F(TerminalModelTest, DisplaySettingsSurvivePowerUpOnlyWhenSaved) {
    reply("$01S3");
    EXPECT_EQ(model.state().displaySettings, 3);
    model.powerCycle();
    EXPECT_EQ(model.state().displaySettings, 7); // not saved: the EEPROM's value again
    reply("$01SD");                              // 8 + 4 + 1: save
    reply("$01S0");
    model.powerCycle();
    EXPECT_EQ(model.state().displaySettings, 5);
}

TEST_F(TerminalModelTest, LampsAndSymbols) {
    reply("$01I11");
    reply("$01I21");
    reply("$01I10");
    TerminalState s = model.state();
    EXPECT_FALSE(s.lamp1);
    EXPECT_TRUE(s.lamp2);
    reply("$01G5"
          "10000000000000ff");
    s = model.state();
    EXPECT_EQ(s.symbols[5], "10000000000000ff");
    EXPECT_EQ(s.symbols[0], "0000000000000000");
}

TEST_F(TerminalModelTest, KeyQueueAnswersAtMostNineKeysAReply) {
    for (int key = 1; key <= 12; ++key)
        EXPECT_TRUE(model.pressKey(key == 10 ? 30 : key));
    EXPECT_FALSE(model.pressKey(0));
    EXPECT_FALSE(model.pressKey(31));
    EXPECT_EQ(reply("$01K"), "!019010203040506070809");
    EXPECT_EQ(reply("$01K"), "!0131E0B0C");
    EXPECT_EQ(reply("$01K"), "!010");
    for (std::size_t i = 0; i < TerminalModel::kKeyQueueCapacity; ++i)
        EXPECT_TRUE(model.pressKey(1));
    EXPECT_FALSE(model.pressKey(1)); // full: the key is lost, the queue does not grow
}

TEST_F(TerminalModelTest, DioLines) {
    reply("$01D0F"); // lines 4..7 inputs
    model.setInputs(0x35);
    EXPECT_EQ(reply("@01"), ">05");
    EXPECT_EQ(reply("@01FF"), ">"); // only the output lines change
    EXPECT_EQ(reply("@01"), ">F5");
    model.setInputLine(7, false);
    model.setInputLine(0, true); // an output: its level from outside is not read
    EXPECT_EQ(reply("@01"), ">F4");
    EXPECT_EQ(reply("$01D"), "!010F");

    reply("@01A0");
    reply("~015P");
    reply("@0150");
    reply("~015S");
    EXPECT_EQ(reply("~014P"), "!01A0");
    EXPECT_EQ(reply("~014S"), "!0150");
    reply("@0100");
    model.powerCycle(); // outputs take the power-on value
    EXPECT_EQ(reply("@01"), ">A4");
    EXPECT_EQ(reply("$01D"), "!010F"); // direction is kept
}

TEST_F(TerminalModelTest, WatchdogAlarmsAfterAPeriodWithoutHostAlive) {
    reply("$01D00");
    reply("@01FF");
    reply("@0155");
    reply("~015S"); // safe value 55
    reply("@01FF");
    EXPECT_EQ(reply("~01311E"), "!01"); // enabled, 3.0 s
    EXPECT_EQ(reply("~012"), "!01"
                             "11E");
    clock->advance(2999ms);
    EXPECT_EQ(reply("~010"), "!0100");
    reply("~**");
    clock->advance(2999ms);
    EXPECT_EQ(reply("~010"), "!0100");
    clock->advance(1ms);
    EXPECT_EQ(reply("~010"), "!0104");
    EXPECT_EQ(reply("@01"), ">55"); // outputs went to the safe value
    reply("~**");
    EXPECT_EQ(reply("~010"), "!0104"); // the status stays until it is reset
    EXPECT_EQ(reply("~011"), "!01");
    EXPECT_EQ(reply("~010"), "!0100");
    clock->advance(3000ms);
    EXPECT_EQ(model.state().moduleStatus, kWatchdogAlarmStatus);

    reply("~011");
    reply("~013001");
    clock->advance(100000ms);
    EXPECT_EQ(reply("~010"), "!0100"); // disabled
    EXPECT_EQ(reply("~012"), "!01001");
    reply("~013100");
    clock->advance(100000ms);
    EXPECT_EQ(reply("~010"), "!0100"); // a period of 0 never runs out
}

TEST_F(TerminalModelTest, ConfigurationWriteTakesEffectAfterItsReply) {
    const TerminalModel::FrameResult result = model.receiveFrame("%01050Z070240");
    ASSERT_TRUE(result.reply);
    EXPECT_EQ(*result.reply, "!05");
    EXPECT_FALSE(result.checksum); // the reply goes out in the old format
    EXPECT_TRUE(result.commitAfterReply);
    EXPECT_EQ(reply("$01M"), "!01TKM-9214"); // not yet committed

    model.commitLineConfig(result.epoch);
    const TerminalModel::LineSettings line = model.lineSettings();
    EXPECT_EQ(line.address, 5);
    EXPECT_EQ(line.baudCode, 7);
    EXPECT_TRUE(line.checksum);
    EXPECT_EQ(reply("$05M"), "-"); // checksum mode is on now
    EXPECT_EQ(reply("$05MD6"), "!05TKM-9214");
    EXPECT_EQ(reply("$05M" + hexByte(0xD6, false)), "-");
    EXPECT_EQ(reply("$052" + hexByte(frameChecksum("$052"))), "!050Z070240");
    EXPECT_EQ(model.state().codePage, 2);
    model.powerCycle();
    EXPECT_EQ(model.lineSettings().address, 5); // stored
}

TEST_F(TerminalModelTest, CommitIsDroppedWhenPowerWasSwitched) {
    const auto result = model.receiveFrame("%01050Z060100");
    model.powerCycle(); // stored all the same: used from this power-up
    EXPECT_EQ(model.lineSettings().address, 5);
    model.commitLineConfig(result.epoch);
    EXPECT_EQ(model.lineSettings().address, 5);
}

TEST_F(TerminalModelTest, InitPinGivesDefaultsUntilTheNextPowerUp) {
    model.setInitPin(true);
    EXPECT_EQ(model.lineSettings().address, 1); // sampled at power-up only
    model.powerOff();
    EXPECT_EQ(reply("$01M"), "-");
    EXPECT_FALSE(model.pressKey(1));
    model.powerOn();
    TerminalModel::LineSettings line = model.lineSettings();
    EXPECT_EQ(line.address, 0);
    EXPECT_EQ(line.baudCode, 6);
    EXPECT_FALSE(line.checksum);
    EXPECT_TRUE(model.state().initMode);
    EXPECT_EQ(reply("$002"), "!000Z060100");
    EXPECT_EQ(reply("~002"), "!00000");

    const auto result = model.receiveFrame("%00070Z0A0040");
    EXPECT_EQ(result.reply.value_or("-"), "!07");
    EXPECT_FALSE(result.commitAfterReply);
    model.commitLineConfig(result.epoch);
    EXPECT_EQ(model.lineSettings().address, 0); // still in init mode
    EXPECT_EQ(reply("$002"), "!000Z060000");

    model.powerCycle(); // pin still connected
    EXPECT_EQ(model.lineSettings().address, 0);
    model.setInitPin(false);
    model.powerCycle();
    line = model.lineSettings();
    EXPECT_EQ(line.address, 7);
    EXPECT_EQ(line.baudCode, 10);
    EXPECT_TRUE(line.checksum);
    EXPECT_EQ(model.state().codePage, 0);
}

TEST_F(TerminalModelTest, PowerUpClearsVolatileState) {
    reply("$01T000Text");
    reply("$01I11");
    model.pressKey(4);
    reply("~013105");
    clock->advance(1000ms);
    ASSERT_EQ(model.state().moduleStatus, kWatchdogAlarmStatus);
    reply("$01G1"
          "1F1F1F1F1F1F1F1F");
    model.powerCycle();
    const TerminalState s = model.state();
    EXPECT_EQ(s.rows[0], std::string(20, ' '));
    EXPECT_FALSE(s.lamp1);
    EXPECT_TRUE(s.keys.empty());
    EXPECT_EQ(s.moduleStatus, 0);
    EXPECT_TRUE(s.watchdogEnabled); // settings are kept
    EXPECT_EQ(s.symbols[1], "1F1F1F1F1F1F1F1F");
}

class ChecksumTerminalTest : public TerminalModelTest {
protected:
    static TerminalSettings checksumOn() {
        TerminalSettings settings;
        settings.checksum = true;
        return settings;
    }
    ChecksumTerminalTest() : TerminalModelTest(checksumOn()) {}
};

TEST_F(ChecksumTerminalTest, FramesNeedTheirChecksum) {
    const auto result = model.receiveFrame("$01MD2");
    EXPECT_EQ(result.reply.value_or("-"), "!01TKM-9214");
    EXPECT_TRUE(result.checksum);
    EXPECT_EQ(reply("$01M"), "-");
    EXPECT_EQ(reply("$01MD3"), "-");
    EXPECT_EQ(reply("$01Md2"), "-");
    EXPECT_EQ(reply("D2"), "-");
    EXPECT_EQ(reply("~**D2"), "-"); // host alive, with its checksum
    EXPECT_EQ(reply("$012" + hexByte(frameChecksum("$012"))), "!010Z060140");
}

TEST_F(TerminalModelTest, ArbitraryFramesNeverBreakIt) {
    std::mt19937 random(9214);
    const std::string alphabet = "$~@%!>*0123456789ABCDEFGKMOSTIZPabz \r\x00\xFF";
    for (int i = 0; i < 20000; ++i) {
        std::string frame;
        const int length = static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k)
            frame += random() % 4 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        if (i % 3 == 0)
            frame.insert(0, "$01");
        const auto result = model.receiveFrame(frame);
        if (result.commitAfterReply)
            model.commitLineConfig(result.epoch);
    }
    const TerminalState s = model.state();
    for (const std::string& row : s.rows)
        EXPECT_EQ(row.size(), 20u);
    EXPECT_LE(s.keys.size(), TerminalModel::kKeyQueueCapacity);
    EXPECT_GE(s.address, 0);
    EXPECT_LE(s.address, 255);
}

} // namespace
} // namespace tkm::sim
