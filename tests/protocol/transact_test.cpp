#include "protocol/Commands.h"
#include "testkit/StringListLog.h"
#include "protocol/Transact.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tkm::protocol {
namespace {

// A port whose receive buffer the test fills: `waiting` before the command goes out (stale bytes),
// `answer` when the transaction sleeps (the terminal answering during the reply wait).
class FakePort : public TransactPort {
public:
    explicit FakePort(std::vector<std::string>& events) : events_(events) {}

    bool GetActive() const override { return active; }
    std::string ReadString() override {
        events_.push_back("read");
        return std::exchange(buffer, {});
    }
    void SendString(const std::string& bytes) override {
        events_.push_back("send");
        if (failSend)
            throw std::runtime_error("write failed");
        sent.push_back(bytes);
    }

    bool active = true;
    bool failSend = false;
    std::string buffer;
    std::vector<std::string> sent;

private:
    std::vector<std::string>& events_;
};

class TransactTest : public ::testing::Test {
protected:
    TransactTest() {
        links.port = &port;
        links.log = &log;
        links.baudIndex = [this] { return baudIndex; };
        links.checksumMode = [this] { return checksum; };
        links.setPollTimerEnabled = [this](bool on) {
            timerEnabled = on;
            events.push_back(on ? "timer on" : "timer off");
        };
        links.setActivityLamp = [this](bool on) {
            lampOn = on;
            events.push_back(on ? "lamp on" : "lamp off");
        };
        links.processEvents = [this] {
            events.push_back("pump");
            if (onPump)
                onPump();
        };
        links.sleepMs = [this](int ms) {
            events.push_back("sleep " + std::to_string(ms));
            waits.push_back(ms);
            port.buffer += answer;
        };
    }

    std::string Run(const std::string& command, const std::string& prefix, int extraWait = 0) {
        return Transact(links, command, prefix, extraWait);
    }

    std::vector<std::string> events;
    FakePort port{events};
    StringListLog log;
    TransactLinks links;
    int baudIndex = 5;
    bool checksum = false;
    bool timerEnabled = true;
    bool lampOn = false;
    std::function<void()> onPump;
    std::string answer;
    std::vector<int> waits;
};

TEST(ReplyWait, FollowsTheBaudRateListPosition) {
    const int expected[] = {1044, 532, 276, 148, 84, 52, 36, 28, 24, 22};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(ReplyWaitMs(i, 0), expected[i]) << "index " << i;
    EXPECT_EQ(ReplyWaitMs(5, 500), 552);
    EXPECT_EQ(ReplyWaitMs(5, -10), 52);
    EXPECT_EQ(PollIntervalMs(5), 382);
    EXPECT_EQ(PollIntervalMs(0), 1374);
    EXPECT_EQ(PollIntervalMs(9), 352);
    // The default 16 ms of the common USB chips passes at 9600 baud, not at 19200.
    EXPECT_EQ(AdapterLatencyBudgetMs(5), 17);
    EXPECT_EQ(AdapterLatencyBudgetMs(6), 12);
    EXPECT_EQ(AdapterLatencyBudgetMs(9), 7);
}

TEST_F(TransactTest, SleepsTheReplyWaitOfTheBaudIndex) {
    Run("$01M", "!01");
    baudIndex = 0;
    Run("$01M", "!01");
    baudIndex = 5;
    Run("$01M", "!01", 500);
    EXPECT_EQ(waits, (std::vector<int>{52, 1044, 552}));
}

TEST_F(TransactTest, ClosedPortChangesNothing) {
    port.active = false;
    port.buffer = "!01X\r";
    answer = "!01X\r";
    EXPECT_EQ(Run("$01M", "!01"), "error");
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(port.buffer, "!01X\r");
    EXPECT_EQ(log.LineCount(), 0);
    EXPECT_TRUE(timerEnabled);
    EXPECT_FALSE(lampOn);
}

TEST_F(TransactTest, SuccessfulExchangeRunsTheStepsInOrder) {
    port.buffer = "stale";
    answer = "!01TKM-9214\r";
    EXPECT_EQ(Run("$01M", "!01"), "TKM-9214");
    EXPECT_EQ(events, (std::vector<std::string>{"timer off", "lamp on", "read", "send", "pump", "sleep 52",
                                                "read", "lamp off", "timer on"}));
    EXPECT_EQ(port.sent, (std::vector<std::string>{"$01M\r"}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t$01M --> !01TKM-9214\r"}));
}

TEST_F(TransactTest, ChecksumModeSignsCommandAndChecksReply) {
    checksum = true;
    answer = ">0FB4\r";
    EXPECT_EQ(Run("$01M", ">"), "0F");
    EXPECT_EQ(port.sent, (std::vector<std::string>{"$01MD2\r"}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t$01MD2 --> >0FB4\r"}));
}

TEST_F(TransactTest, WrongChecksumIsLoggedYetFails) {
    checksum = true;
    answer = ">0FB5\r";
    EXPECT_EQ(Run("@01", ">"), "error");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t@01A1 --> >0FB5\r"}));
    EXPECT_TRUE(timerEnabled);
    EXPECT_FALSE(lampOn);
}

TEST_F(TransactTest, UnexpectedOrMissingReplyFailsUnlogged) {
    for (const std::string reply : {"", "!0", "!02TKM\r", "?01TKM\r"}) {
        answer = reply;
        events.clear();
        EXPECT_EQ(Run("$01M", "!01"), "error") << "reply '" << reply << "'";
        EXPECT_EQ(events.back(), "timer on");
        EXPECT_FALSE(lampOn);
    }
    EXPECT_EQ(log.LineCount(), 0);
}

TEST_F(TransactTest, TheLinesEchoOfTheFrameIsDroppedAndNotedOncePerOpen) {
    answer = "$01M\r!01TKM-9214\r";
    EXPECT_EQ(Run("$01M", "!01"), "TKM-9214");
    EXPECT_EQ(Run("$01M", "!01"), "TKM-9214");
    links.echoNoted = false; // the port opened again
    checksum = true;
    answer = "$01MD2\r!01AB\r";
    EXPECT_EQ(Run("$01M", "!01"), "error"); // the reply's checksum is still checked
    const std::string note(kLineEchoNote);
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{note, "2\t$01M --> !01TKM-9214\r", "3\t$01M --> !01TKM-9214\r", note,
                                        "5\t$01MD2 --> !01AB\r"}));

    // Only a whole copy at the very start is an echo; anything else fails as it always did.
    log.Clear();
    checksum = false;
    for (const std::string reply : {"$01", "$01N\r!01A\r", "!01A\r$01M\r"}) {
        answer = reply;
        const std::string expected = reply.starts_with('!') ? "A\r$01M" : "error";
        EXPECT_EQ(Run("$01M", "!01"), expected) << reply;
    }
    EXPECT_EQ(log.LineCount(), 1);
}

TEST_F(TransactTest, LateReplyIsDiscardedByTheNextTransaction) {
    answer = "";
    EXPECT_EQ(Run("$01M", "!01"), "error");
    port.buffer = "!01TKM\r"; // arrives after the wait
    answer = "!01V1.0\r";
    EXPECT_EQ(Run("$01F", "!01"), "V1.0");
}

TEST_F(TransactTest, EmptyPrefixAcceptsAnEmptyReply) {
    const Command alive = HostAlive();
    EXPECT_EQ(Transact(links, alive), "");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t~** --> "}));
}

TEST_F(TransactTest, LogIsClearedPastItsLimit) {
    for (int i = 0; i < kTrafficLogMaxLines - 1; ++i)
        log.AppendLine("old");
    answer = "!01A\r";
    Run("$01M", "!01");
    ASSERT_EQ(log.LineCount(), 2000);
    EXPECT_EQ(log.lines().back(), "2000\t$01M --> !01A\r");
    EXPECT_EQ(Run("$01M", "!01"), "A"); // line 2001: added, then everything cleared
    EXPECT_EQ(log.LineCount(), 0);
    Run("$01M", "!01");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t$01M --> !01A\r"}));
}

TEST_F(TransactTest, ChecksumModeIsReadWhereItIsUsed) {
    // Switched on while window events run: the command went out plain, the reply is checked.
    onPump = [this] { checksum = true; };
    answer = "!01AB\r";
    EXPECT_EQ(Run("$01M", "!01"), "error");
    EXPECT_EQ(port.sent, (std::vector<std::string>{"$01M\r"}));
    EXPECT_EQ(log.LineCount(), 1);
}

TEST_F(TransactTest, PortFailureRestoresTimerAndLamp) {
    port.failSend = true;
    EXPECT_THROW(Run("$01M", "!01"), std::runtime_error);
    EXPECT_TRUE(timerEnabled);
    EXPECT_FALSE(lampOn);
    EXPECT_EQ(log.LineCount(), 0);

    port.failSend = false;
    answer = "!01A\r";
    EXPECT_EQ(Run("$01M", "!01"), "A");
}

TEST_F(TransactTest, TransactionStartedFromTheMessagePumpIsRefused) {
    std::string inner;
    onPump = [this, &inner] {
        onPump = nullptr;
        inner = Run("$01T", "!01");
    };
    answer = "!01A\r";
    EXPECT_EQ(Run("$01M", "!01"), "A");
    EXPECT_EQ(inner, "error");
    EXPECT_EQ(port.sent, (std::vector<std::string>{"$01M\r"}));
    EXPECT_TRUE(timerEnabled);
}

TEST_F(TransactTest, MissingRequiredLinkIsAProgrammingError) {
    links.sleepMs = nullptr;
    EXPECT_THROW(Run("$01M", "!01"), std::invalid_argument);
}

TEST_F(TransactTest, OptionalLinksMayBeLeftOut) {
    links.setPollTimerEnabled = nullptr;
    links.setActivityLamp = nullptr;
    links.processEvents = nullptr;
    answer = "!01A\r";
    EXPECT_EQ(Run("$01M", "!01"), "A");
}

} // namespace
} // namespace tkm::protocol
