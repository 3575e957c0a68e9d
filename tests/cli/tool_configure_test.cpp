// configure: a new address or code page at once; a new baud rate or checksum mode through the init-pin
// power cycle, played on the simulated terminal while the tool waits; find over a pseudo-terminal link.
#include "SimulatedTerminalFixture.h"

#include <QTemporaryDir>

#include <unistd.h>

namespace {

class ToolConfigureTest : public SimulatedTerminalFixture {
public:
    void powerCycle(bool initPin) {
        terminal->model().setInitPin(initPin);
        terminal->model().powerCycle();
    }
};

const std::vector<std::string> kIdentification{"M", "F", "D", "~4P", "~4S", "@", "2", "~2"};

// The identification's frames at an address, with checksums when on.
std::vector<std::string> identificationAt(const std::string& address, bool checksum) {
    std::vector<std::string> frames;
    for (const std::string& command : kIdentification) {
        std::string frame = command[0] == '~'   ? "~" + address + command.substr(1)
                            : command[0] == '@' ? "@" + address
                                                : "$" + address + command;
        if (checksum) {
            unsigned sum = 0;
            for (const char c : frame)
                sum += static_cast<unsigned char>(c);
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", sum & 0xFF);
            frame += digits;
        }
        frames.push_back(frame);
    }
    return frames;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(ToolConfigureTest, ANewAddressOrCodePageIsTakenAtOnce) {
    ToolProcess::Outcome outcome = tool({"configure", "--new-address", "0x07", "--verify", "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out),
              json(R"({"written":{"address":7,"baud":9600,"code_page":"WIN-1251","checksum":false},
                       "power_cycle":false,"verified":true})"));
    EXPECT_EQ(received(), joined({"$012", "%01070Z060100"}, identificationAt("07", false)));
    EXPECT_EQ(state().address, 7);

    outcome = tool({"--address", "7", "configure", "--code-page", "koi8r"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "written: address 7 (0x07), 9600 baud, KOI-8R, checksum off\n");
    EXPECT_EQ(received(), (std::vector<std::string>{"$072", "%07070Z060200"}));
    EXPECT_EQ(state().codePage, 2);
}

TEST_F(ToolConfigureTest, ANewBaudRateAndChecksumModeGoThroughTheInitPinPowerCycle) {
    ToolProcess tool(onPort({"configure", "--new-baud", "19200", "--new-checksum", "on", "--new-address", "9",
                             "--verify", "--json"}));
    ASSERT_TRUE(tool.waitForError("1) Power off the TKM-9214\n2) Connect init pin to GND\n3) Power on the "
                                  "TKM-9214\nPress Enter when done"));
    powerCycle(true);
    tool.send("\n");
    ASSERT_TRUE(tool.waitForError("2) Disconnect init pin from GND"));
    EXPECT_EQ(state().storedBaudCode, 7);
    EXPECT_TRUE(state().initMode);
    powerCycle(false);
    tool.send("\n");
    const ToolProcess::Outcome outcome = tool.finish();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out),
              json(R"({"written":{"address":9,"baud":19200,"code_page":"WIN-1251","checksum":true},
                       "power_cycle":true,"verified":true})"));
    EXPECT_EQ(received(), joined({"$012", "$002", "%00090Z070140"}, identificationAt("09", true)));
    const tkm::sim::TerminalState now = state();
    EXPECT_EQ(now.address, 9);
    EXPECT_EQ(now.baudCode, 7);
    EXPECT_TRUE(now.checksum);
}

TEST_F(ToolConfigureTest, NothingIsSentWhenThePowerCycleIsCancelledOrInitModeDoesNotAnswer) {
    ToolProcess::Outcome outcome = tool({"configure", "--new-baud", "19200"}); // no Enter: end of input
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("configure cancelled; nothing was sent"), std::string::npos) << outcome.err;
    EXPECT_EQ(received(), (std::vector<std::string>{"$012"}));

    ToolProcess notInInitMode(onPort({"configure", "--new-checksum", "on"}));
    ASSERT_TRUE(notInInitMode.waitForError("Press Enter"));
    notInInitMode.send("\n");
    outcome = notInInitMode.finish();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Device not found (address 0x00, 9600 baud, checksum off); nothing was sent"),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(received(), (std::vector<std::string>{"$012", "$002"}));
    EXPECT_EQ(state().storedChecksum, false);
}

TEST_F(ToolConfigureTest, WithYesTheTerminalIsInInitModeAlreadyAndVerifyWaitsForItsPowerUp) {
    tkm::sim::TerminalSettings initPin;
    initPin.initPin = true;
    startTerminal(initPin);
    ToolProcess tool(onPort({"configure", "--yes", "--new-address", "5", "--new-baud", "38400", "--verify"}));
    ASSERT_TRUE(tool.waitForError("Waiting for the TKM-9214 at address 0x05, 38400 baud, checksum off"));
    powerCycle(false);
    const ToolProcess::Outcome outcome = tool.finish();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "written: address 5 (0x05), 38400 baud, WIN-1251, checksum off\n"
                           "verified: the terminal answers at address 0x05, 38400 baud, checksum off\n");
    const std::vector<std::string> frames = received();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], "$002");
    EXPECT_EQ(frames[1], "%00050Z080100");
    EXPECT_EQ(state().address, 5);
}

TEST_F(ToolConfigureTest, TheBuiltInSimulatorIsPowerCycledByTheToolItself) {
    const ToolProcess::Outcome outcome = ToolProcess::run(
        {"--simulator", "configure", "--new-baud", "115200", "--new-checksum", "on", "--verify"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("verified: the terminal answers at address 0x01, 115200 baud, checksum on"),
              std::string::npos)
        << outcome.out;
}

TEST_F(ToolConfigureTest, FindStopsAtTheFirstTerminalOnItsWayThroughAddressesAndSettings) {
    tkm::sim::TerminalSettings unknown;
    unknown.address = 0x21;
    startTerminal(unknown);
    ToolProcess::Outcome outcome = tool({"find", "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out),
              json(R"({"found":[{"address":33,"baud":9600,"checksum":false}],"complete":true})"));
    EXPECT_EQ(received().size(), 33u);

    // Through a link, at a rate given and a checksum mode and address not given.
    unknown.address = 0x0C;
    unknown.baudCode = 10;
    unknown.checksum = true;
    startTerminal(unknown);
    QTemporaryDir folder;
    const std::string link = folder.filePath(QStringLiteral("tkm")).toStdString();
    ASSERT_EQ(::symlink(port.c_str(), link.c_str()), 0);
    outcome = ToolProcess::run({"--port", link, "--baud", "115200", "find"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "found: address 0x0C, 115200 baud, checksum on\n");
    EXPECT_EQ(received().size(), 255u + 12u);
}

TEST_F(ToolConfigureTest, FindAllGoesOnAfterATerminalAnswersUntilInterrupted) {
    tkm::sim::TerminalSettings second;
    second.address = 2;
    startTerminal(second);
    ToolProcess find(onPort({"find", "--all", "--json"}));
    ASSERT_TRUE(terminal->trace().waitForTotal(6, std::chrono::seconds(20))); // up to address 4 at least
    find.interrupt();
    const ToolProcess::Outcome outcome = find.finish();
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    EXPECT_EQ(json(outcome.out),
              json(R"({"found":[{"address":2,"baud":9600,"checksum":false}],"complete":false})"));
    EXPECT_NE(outcome.err.find("find interrupted after "), std::string::npos) << outcome.err;
}

} // namespace
