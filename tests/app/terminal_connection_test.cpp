// The terminal connection on its own, without a window: a scripted port behind the transaction.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"

#include "app/TerminalConnection.h"

#include "protocol/Commands.h"
#include "protocol/EConvertError.h"
#include "protocol/Frame.h"
#include "testkit/StringListLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace proto = tkm::protocol;

class Connection : public ::testing::Test {
protected:
    void SetUp() override { talkTo(ScriptedTerminal{}); }

    void talkTo(ScriptedPort::Script script) {
        port = std::make_unique<ScriptedPort>(std::move(script));
        if (!connection) {
            proto::TransactLinks links;
            links.port = port.get();
            links.log = &log;
            links.sleepMs = [this](int) {
                if (duringWait)
                    duringWait();
            };
            connection = std::make_unique<TerminalConnection>(std::move(links));
            QObject::connect(connection.get(), &TerminalConnection::deviceDataChanged,
                             [this] { shown.push_back("data:" + connection->device().deviceName); });
            QObject::connect(connection.get(), &TerminalConnection::lineStateRead,
                             [this](const std::string& lines) { shown.push_back("lines:" + lines); });
            QObject::connect(
                connection.get(), &TerminalConnection::watchdogIdentified, [this](bool enabled, int period) {
                    shown.push_back("wdt:" + std::to_string(enabled) + "," + std::to_string(period));
                });
        } else {
            connection->setPort(port.get());
        }
    }

    bool identifyAt(int address) {
        connection->setAddress(address);
        return connection->identify();
    }

    proto::StringListLog log;
    std::unique_ptr<ScriptedPort> port;
    std::unique_ptr<TerminalConnection> connection;
    std::function<void()> duringWait; // runs inside each exchange's reply wait
    std::vector<std::string> shown;   // what the signals reported, in order
};

TEST_F(Connection, IdentificationFillsTheCacheAndReportsEachStep) {
    EXPECT_FALSE(connection->found());
    ASSERT_TRUE(identifyAt(1));
    EXPECT_TRUE(connection->found());
    const std::vector<std::string> order = {"$01M", "$01F", "$01D", "~014P", "~014S",
                                            "@01",  "$01T", "$012", "~012"};
    EXPECT_EQ(port->sent, order);

    const tkm::terminal::DeviceData& d = connection->device();
    EXPECT_EQ(d.deviceName, "TKM-9214");
    EXPECT_EQ(d.firmware, "1.02");
    EXPECT_EQ(d.direction, "F0");
    EXPECT_EQ(d.powerOn, "0F");
    EXPECT_EQ(d.safe, "81");
    EXPECT_EQ(d.lineState, "A5");
    EXPECT_EQ(d.configuration.address, "01");
    EXPECT_EQ(d.configuration.baudCode, "06");
    EXPECT_EQ(d.configuration.codePageCode, "01");
    EXPECT_EQ(d.configuration.formatCode, "00");
    EXPECT_TRUE(d.watchdog.enabled);
    EXPECT_EQ(d.watchdog.periodTenths, 0x28);

    // Emptied first, then the lines, the watchdog and the whole data.
    const std::vector<std::string> expected = {"data:", "lines:A5", "wdt:1,40", "data:TKM-9214"};
    EXPECT_EQ(shown, expected);
}

TEST_F(Connection, AnythingThatMayChangeTheTerminalLosesIt) {
    struct Case {
        const char* what;
        std::function<void(TerminalConnection&)> change;
        bool loses;
    };
    ScriptedPort other([](const std::string&) { return std::string(); });
    const Case cases[] = {
        {"same address", [](TerminalConnection& c) { c.setAddress(1); }, false},
        {"another address", [](TerminalConnection& c) { c.setAddress(2); }, true},
        {"same baud rate", [](TerminalConnection& c) { c.setBaudIndex(5); }, false},
        {"another baud rate", [](TerminalConnection& c) { c.setBaudIndex(9); }, true},
        {"checksum mode", [](TerminalConnection& c) { c.setChecksumMode(false); }, true},
        {"another port", [&other](TerminalConnection& c) { c.setPort(&other); }, true},
        {"lose", [](TerminalConnection& c) { c.lose(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        talkTo(ScriptedTerminal{});
        connection->setBaudIndex(5);
        ASSERT_TRUE(identifyAt(1));
        c.change(*connection);
        EXPECT_EQ(connection->found(), !c.loses);
    }
}

TEST_F(Connection, IdentificationOvertakenByAnAddressChangeEndsFalseAndKeepsItsAddress) {
    connection->setAddress(1);
    int waits = 0;
    duringWait = [&] {
        if (++waits == 3)
            connection->setAddress(2); // as a control moved by an event the message pump let run
    };
    EXPECT_FALSE(connection->identify());
    EXPECT_FALSE(connection->found());
    // The reads that were still sent went to the address identification started with.
    for (const std::string& frame : port->sent)
        EXPECT_EQ(frame.substr(1, 2), "01") << frame;
    EXPECT_EQ(port->sent.size(), 3u);
}

TEST_F(Connection, AnIdentificationInsideAnotherLeavesBothFalse) {
    connection->setAddress(1);
    bool inner = true;
    int waits = 0;
    duringWait = [&] {
        if (++waits == 2)
            inner = connection->identify();
    };
    EXPECT_FALSE(connection->identify());
    EXPECT_FALSE(inner);
    EXPECT_FALSE(connection->found());
    // Identified properly afterwards.
    duringWait = nullptr;
    EXPECT_TRUE(connection->identify());
}

TEST_F(Connection, FailedIdentificationLeavesNoOldValuesBehind) {
    ASSERT_TRUE(identifyAt(1));
    ScriptedTerminal refusing;
    talkTo([refusing](const std::string& frame) {
        return frame.rfind("@", 0) == 0 ? std::string("?01\r") : refusing(frame);
    });
    EXPECT_FALSE(connection->identify());
    const tkm::terminal::DeviceData& d = connection->device();
    EXPECT_EQ(d.deviceName, "");
    EXPECT_EQ(d.direction, "");
    EXPECT_EQ(d.powerOn, "");
    EXPECT_EQ(d.safe, "");
    EXPECT_EQ(d.configuration.codePageCode, "");
    // The lines are unknown, not "error".
    EXPECT_EQ(d.lineState, "");
    EXPECT_EQ(port->sent.back(), "@01");
}

TEST_F(Connection, ALineByteThatIsNotTwoHexDigitsFailsIdentification) {
    for (const char* lines : {"5", "A5A", "Z5", ""}) {
        SCOPED_TRACE(lines);
        ScriptedTerminal terminal;
        terminal.lines = lines;
        talkTo(terminal);
        shown.clear();
        EXPECT_FALSE(identifyAt(1));
        EXPECT_EQ(connection->device().lineState, "");
        EXPECT_EQ(port->sent.back(), "@01") << "nothing after the line read";
        EXPECT_EQ(shown, std::vector<std::string>{"data:"}) << "no lines shown";
    }
    // Lower-case digits are kept in upper case, as an LED bank reads back.
    ScriptedTerminal lowerCase;
    lowerCase.lines = "5a";
    talkTo(lowerCase);
    EXPECT_TRUE(identifyAt(1));
    EXPECT_EQ(connection->device().lineState, "5A");
}

TEST_F(Connection, WatchdogReadResetsItsCacheFirst) {
    ASSERT_TRUE(identifyAt(1));
    ASSERT_TRUE(connection->device().watchdog.enabled);
    ScriptedTerminal shortReply;
    shortReply.watchdog = "011";
    talkTo(shortReply);
    EXPECT_FALSE(connection->readWatchdog());
    EXPECT_FALSE(connection->device().watchdog.enabled);
    EXPECT_EQ(connection->device().watchdog.periodTenths, 0);
}

TEST_F(Connection, NonHexWatchdogPeriodThrowsWithTheFlagClear) {
    ScriptedTerminal terminal;
    terminal.watchdog = "011ZZ";
    talkTo(terminal);
    connection->setAddress(1);
    EXPECT_THROW(connection->identify(), proto::EConvertError);
    EXPECT_FALSE(connection->found());
}

TEST_F(Connection, WatchdogSetOnlyWhileFound) {
    connection->setAddress(1);
    EXPECT_FALSE(connection->setWatchdog(false, 30));
    EXPECT_TRUE(port->sent.empty());
    ASSERT_TRUE(connection->identify());
    port->sent.clear();
    EXPECT_TRUE(connection->setWatchdog(true, 0x28));
    EXPECT_EQ(port->sent, std::vector<std::string>{"~013128"});
}

// The window's side of a scan, recorded.
struct ScanRecord {
    TerminalConnection* connection = nullptr;
    bool scanOn = true;
    std::vector<int> moves;
    std::vector<bool> timer;     // every stop/start, in order
    bool timerWhenMoved = false; // the poll timer's state at any move after the first stop
    bool timerRunning = true;

    TerminalConnection::ScanControls controls() {
        TerminalConnection::ScanControls c;
        c.scanOn = [this] { return scanOn; };
        c.switchScanOff = [this] { scanOn = false; };
        c.moveAddress = [this](int a) {
            timerWhenMoved = timerWhenMoved || timerRunning;
            moves.push_back(a);
            connection->setAddress(a);
            connection->identify();
            timerRunning = true; // the exchanges restart it
        };
        c.setPollTimer = [this](bool on) {
            timer.push_back(on);
            timerRunning = on;
        };
        return c;
    }
};

TEST_F(Connection, ScanStopsAtTheTerminalWithThePollTimerHeldMeanwhile) {
    ScriptedTerminal terminal;
    terminal.address = 0x37;
    talkTo(terminal);
    ScanRecord scan;
    scan.connection = connection.get();
    connection->runAddressScan(scan.controls());
    ASSERT_EQ(scan.moves.size(), 0x37u);
    EXPECT_EQ(scan.moves.front(), 1);
    EXPECT_EQ(scan.moves.back(), 0x37);
    EXPECT_TRUE(connection->found());
    EXPECT_FALSE(scan.scanOn);
    EXPECT_FALSE(scan.timerWhenMoved);
    ASSERT_FALSE(scan.timer.empty());
    EXPECT_FALSE(scan.timer.front());
    EXPECT_TRUE(scan.timer.back());
}

TEST_F(Connection, ScanOnAClosedPortSwitchesOffReturnsToZeroAndRestartsTheTimer) {
    class ClosedPort : public proto::TransactPort {
    public:
        bool GetActive() const override { return false; }
        std::string ReadString() override { return {}; }
        void SendString(const std::string&) override {}
    } closed;
    connection->setPort(&closed);
    connection->setAddress(5);
    ScanRecord scan;
    scan.connection = connection.get();
    connection->runAddressScan(scan.controls());
    EXPECT_EQ(scan.moves, std::vector<int>{0});
    EXPECT_FALSE(scan.scanOn);
    ASSERT_FALSE(scan.timer.empty());
    EXPECT_TRUE(scan.timer.back());
}

TEST_F(Connection, ScanFromTheTopTriesNothingAndReturnsToZero) {
    talkTo([](const std::string&) { return std::string(); });
    connection->setAddress(255);
    ScanRecord scan;
    scan.connection = connection.get();
    connection->runAddressScan(scan.controls());
    EXPECT_EQ(scan.moves, std::vector<int>{0});
    EXPECT_EQ(port->sent, std::vector<std::string>{"$00M"});
}

} // namespace
