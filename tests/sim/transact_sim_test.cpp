// The utility's own transaction against the simulated terminal, over a real pseudo-terminal.

#include "HostPort.h"

#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "testkit/StringListLog.h"
#include "protocol/Transact.h"
#include "sim/ManualSimClock.h"
#include "sim/SimTerminal.h"

#include <gtest/gtest.h>

namespace tkm::sim {
namespace {

using namespace std::chrono_literals;
namespace p = tkm::protocol;

// Transact's port over the host end of the pty. The reply wait does not sleep: it lets the simulator
// finish what is due within the wait, so no test depends on how fast the machine is.
class PtyTransactPort : public p::TransactPort {
public:
    explicit PtyTransactPort(test::HostPort& host) : host_(host) {}
    bool GetActive() const override { return host_.isOpen(); }
    std::string ReadString() override { return host_.read(); }
    void SendString(const std::string& bytes) override { host_.write(bytes); }

private:
    test::HostPort& host_;
};

class TransactSimTest : public ::testing::Test {
protected:
    void SetUp() override { start({}); }

    void start(TerminalSettings settings, int hostBaud = 9600) {
        port.reset();
        host.reset();
        terminal.reset();
        terminal = std::make_unique<SimTerminal>(SimTerminal::Options{settings, clock, false});
        ASSERT_EQ(terminal->start(), "");
        host = std::make_unique<test::HostPort>(*terminal, hostBaud);
        ASSERT_TRUE(host->isOpen()) << host->error();
        port = std::make_unique<PtyTransactPort>(*host);
        links.port = port.get();
        links.log = &log;
        links.baudIndex = [this] { return baudIndex; };
        links.checksumMode = [this] { return checksum; };
        links.sleepMs = [this](int ms) { host->wait(std::chrono::milliseconds(ms)); };
    }

    std::string run(const p::Command& command) { return p::Transact(links, command); }

    std::shared_ptr<ManualSimClock> clock = std::make_shared<ManualSimClock>();
    std::unique_ptr<SimTerminal> terminal;
    std::unique_ptr<test::HostPort> host;
    std::unique_ptr<PtyTransactPort> port;
    p::StringListLog log;
    p::TransactLinks links;
    int baudIndex = 5; // 9600
    bool checksum = false;
};

void expectIdentification(const std::function<std::string(const p::Command&)>& run, int address,
                          const p::ConfigurationFields& configuration) {
    EXPECT_EQ(p::DecodeDeviceName(run(p::ReadDeviceName(address))), "TKM-9214");
    EXPECT_EQ(p::DecodeFirmware(run(p::ReadFirmware(address))), "1.02");
    EXPECT_EQ(p::DecodeLineByte(run(p::ReadDirection(address))), "00");
    EXPECT_EQ(p::DecodeLineByte(run(p::ReadPowerOnValue(address))), "00");
    EXPECT_EQ(p::DecodeLineByte(run(p::ReadSafeValue(address))), "00");
    EXPECT_EQ(p::DecodeLineByte(run(p::ReadLineState(address))), "00");
    EXPECT_EQ(run(p::ClearDisplay(address)), "");
    EXPECT_EQ(p::DecodeConfiguration(run(p::ReadConfiguration(address))), configuration);
    EXPECT_EQ(p::DecodeWatchdogState(run(p::ReadWatchdogState(address))), (p::WatchdogState{false, 0}));
}

TEST_F(TransactSimTest, IdentificationSequenceIsAnsweredInFull) {
    for (bool on : {false, true}) {
        TerminalSettings settings;
        settings.checksum = on;
        start(settings);
        checksum = on;
        log.Clear();
        expectIdentification([this](const p::Command& c) { return run(c); }, 1,
                             {"01", "0Z", "06", "01", on ? "40" : "00"});
        ASSERT_EQ(log.lines().size(), 9u);
        EXPECT_EQ(log.lines()[0], on ? "1\t$01MD2 --> !01TKM-92146B\r" : "1\t$01M --> !01TKM-9214\r");
    }
}

TEST_F(TransactSimTest, EveryOtherCommandOfTheCatalogueSucceeds) {
    const p::Command commands[] = {
        p::WriteDirection(1, 0x0F),
        p::SavePowerOnState(1),
        p::SaveSafeState(1),
        p::WriteLineState(1, 0xA0),
        p::WriteAt(1, 1, 5, "Key 12 "),
        p::WriteText(1, "TKM-9214 ", p::TextSentBy::EnterKey),
        p::WriteDisplaySettings(1, {}),
        p::SetIndicator(1, 2, true),
        p::WriteSymbol(1, 5, "1F1F1F1F1F1F1F1F"),
        p::WriteWatchdog(1, false, 30),
        p::ResetModuleStatus(1),
        p::HostAlive(),
    };
    for (const p::Command& command : commands)
        EXPECT_NE(run(command), p::kTransactError) << command.text;
    EXPECT_EQ(p::DecodeModuleStatus(run(p::ReadModuleStatus(1))), (p::ModuleStatus{"00", false}));
    EXPECT_EQ(p::DecodeLineByte(run(p::ReadLineState(1))), "A0");

    const TerminalState s = terminal->model().state();
    EXPECT_EQ(s.direction, 0x0F);
    EXPECT_EQ(s.rows[1], "     Key 12 TKM-9214");
    EXPECT_TRUE(s.lamp2);
    EXPECT_EQ(s.symbols[5], "1F1F1F1F1F1F1F1F");
}

TEST_F(TransactSimTest, ConfigurationWriteInitPinAndPowerCycle) {
    TerminalSettings settings;
    settings.address = 5;
    start(settings);

    // Same line settings: the terminal moves to its new address at once.
    EXPECT_EQ(run(p::WriteConfiguration(5, {6, 5, 1, false})), "");
    EXPECT_EQ(run(p::ReadDeviceName(5)), p::kTransactError);
    EXPECT_EQ(run(p::ReadDeviceName(6)), "TKM-9214");

    // New baud rate and checksum mode: power off, init pin to GND, power on.
    terminal->model().powerOff();
    terminal->model().setInitPin(true);
    terminal->model().powerOn();
    expectIdentification([this](const p::Command& c) { return run(c); }, 0, {"00", "0Z", "06", "01", "00"});
    EXPECT_EQ(run(p::WriteConfiguration(0, {7, 7, 2, true})), "");
    EXPECT_EQ(run(p::ReadDeviceName(0)), "TKM-9214"); // init mode lasts until power-up

    terminal->model().setInitPin(false);
    terminal->model().powerCycle();
    EXPECT_EQ(run(p::ReadDeviceName(7)), p::kTransactError); // the host is still at 9600, no checksum
    host->setSpeed(38400);
    baudIndex = 7;
    checksum = true;
    EXPECT_EQ(p::DecodeConfiguration(run(p::ReadConfiguration(7))),
              (p::ConfigurationFields{"07", "0Z", "08", "02", "40"}));
}

TEST_F(TransactSimTest, WatchdogAlarmOnTheInjectedClock) {
    EXPECT_EQ(run(p::WriteWatchdog(1, true, 30)), "");
    EXPECT_EQ(p::DecodeWatchdogState(run(p::ReadWatchdogState(1))), (p::WatchdogState{true, 30}));
    clock->advance(2000ms);
    EXPECT_NE(run(p::HostAlive()), p::kTransactError);
    clock->advance(2900ms);
    EXPECT_EQ(p::DecodeModuleStatus(run(p::ReadModuleStatus(1))), (p::ModuleStatus{"00", false}));
    clock->advance(100ms);
    EXPECT_EQ(p::DecodeModuleStatus(run(p::ReadModuleStatus(1))), (p::ModuleStatus{"04", true}));
    EXPECT_EQ(run(p::ResetModuleStatus(1)), "");
    EXPECT_EQ(p::DecodeModuleStatus(run(p::ReadModuleStatus(1))), (p::ModuleStatus{"00", false}));
}

TEST_F(TransactSimTest, KeyQueue) {
    EXPECT_EQ(p::DecodePressedKeys(run(p::ReadPressedKeys(1))), std::vector<int>{});
    terminal->model().pressKey(10);
    terminal->model().pressKey(30);
    EXPECT_EQ(run(p::ReadPressedKeys(1)), "20A1E");
    EXPECT_EQ(run(p::ReadPressedKeys(1)), "0");
    for (int key = 1; key <= 11; ++key)
        terminal->model().pressKey(key);
    EXPECT_EQ(p::DecodePressedKeys(run(p::ReadPressedKeys(1))),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(p::DecodePressedKeys(run(p::ReadPressedKeys(1))), (std::vector<int>{10, 11}));
}

TEST_F(TransactSimTest, SilentAtABaudMismatch) {
    start({}, 19200);
    baudIndex = 6;
    EXPECT_EQ(run(p::ReadDeviceName(1)), p::kTransactError);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(TransactSimTest, ChecksumModeMustAgree) {
    TerminalSettings settings;
    settings.checksum = true;
    start(settings);
    EXPECT_EQ(run(p::ReadDeviceName(1)), p::kTransactError); // the terminal drops frames without checksum
    checksum = true;
    EXPECT_EQ(run(p::ReadDeviceName(1)), "TKM-9214");
    start({});
    EXPECT_EQ(run(p::ReadDeviceName(1)), p::kTransactError); // "MD2" is no command: answered "?01"
    EXPECT_EQ(terminal->trace().entries().back().bytes, "?01\r");
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(TransactSimTest, FaultsAreErrorsWhereTheTransactionRulesSaySo) {
    const struct {
        const char* name;
        bool checksumMode;
        void (*set)(LineFaults&);
        bool error;
        bool logged;
    } cases[] = {
        {"no fault", true, [](LineFaults&) {}, false, true},
        {"silence", false, [](LineFaults& f) { f.silence = true; }, true, false},
        {"late reply", false, [](LineFaults& f) { f.lateReply = 500ms; }, true, false},
        {"wrong checksum", true, [](LineFaults& f) { f.wrongChecksum = true; }, true, true},
        {"wrong checksum, mode off", false, [](LineFaults& f) { f.wrongChecksum = true; }, false, true},
        {"garbage", false, [](LineFaults& f) { f.garbage = LineFaults::kDefaultGarbage; }, true, false},
        {"truncated", false, [](LineFaults& f) { f.truncateTo = 2; }, true, false},
        {"truncated in the checksum", true, [](LineFaults& f) { f.truncateTo = 12; }, true, true},
        {"lower-case checksum", true, [](LineFaults& f) { f.lowerCaseChecksum = true; }, true, true},
    };
    for (const auto& c : cases) {
        TerminalSettings settings;
        settings.checksum = c.checksumMode;
        start(settings);
        checksum = c.checksumMode;
        LineFaults faults;
        c.set(faults);
        terminal->setFaults(faults);
        log.Clear();
        const std::string result = run(p::ReadDeviceName(1));
        EXPECT_EQ(result == p::kTransactError, c.error) << c.name << ": " << result;
        EXPECT_EQ(log.lines().size(), c.logged ? 1u : 0u) << c.name;
    }
}

TEST_F(TransactSimTest, LateReplyIsDiscardedByTheNextTransaction) {
    LineFaults faults;
    faults.lateReply = 300ms;
    terminal->setFaults(faults);
    EXPECT_EQ(run(p::ReadDeviceName(1)), p::kTransactError);
    host->wait(2000ms); // the late reply lands in the receive buffer
    terminal->setFaults({});
    EXPECT_EQ(run(p::ReadFirmware(1)), "1.02");
}

TEST_F(TransactSimTest, ShortConfigurationReplyFailsItsDecoding) {
    LineFaults faults;
    faults.truncateTo = 10; // "!010Z0601": the prefix passes, the layout does not
    terminal->setFaults(faults);
    const std::string payload = run(p::ReadConfiguration(1));
    ASSERT_NE(payload, p::kTransactError);
    EXPECT_FALSE(p::DecodeConfiguration(payload));
}

} // namespace
} // namespace tkm::sim
