// The exchange that ends as soon as the whole reply is there, on a port whose bytes arrive at the times
// the test gives, against a clock the port moves: nothing sleeps, no time is measured.
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/Transact.h"
#include "testkit/StringListLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace tkm::protocol {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Replies arrive in pieces, each at a time after the frame went out; waiting moves the clock to the
// next piece or to the end of the wait.
class ClockedPort : public TransactPort {
public:
    struct Piece {
        std::chrono::milliseconds at;
        std::string bytes;
    };

    bool GetActive() const override { return true; }
    std::string ReadString() override {
        std::string arrived;
        while (next_ < pieces.size() && sentAt_ + pieces[next_].at <= now)
            arrived += pieces[next_++].bytes;
        return arrived;
    }
    void SendString(const std::string& bytes) override {
        sent.push_back(bytes);
        sentAt_ = now;
        next_ = 0;
    }
    InputWait WaitForInput(std::chrono::milliseconds timeout) override {
        ++waits;
        if (!canWait)
            return InputWait::Unsupported;
        if (next_ < pieces.size() && sentAt_ + pieces[next_].at <= now + timeout) {
            now = std::max(now, sentAt_ + pieces[next_].at);
            return InputWait::Arrived;
        }
        now += timeout;
        return InputWait::TimedOut;
    }

    Clock::time_point now{};
    std::vector<Piece> pieces;
    std::vector<std::string> sent;
    bool canWait = true;
    int waits = 0;

private:
    Clock::time_point sentAt_{};
    std::size_t next_ = 0;
};

class TransactUntilReplyTest : public ::testing::Test {
protected:
    TransactUntilReplyTest() {
        links.port = &port;
        links.log = &log;
        links.baudIndex = [this] { return baudIndex; };
        links.checksumMode = [this] { return checksum; };
        links.now = [this] { return port.now; };
        links.sleepMs = [this](int ms) {
            slept.push_back(ms);
            port.now += std::chrono::milliseconds(ms);
        };
    }

    // The payload and how long after the frame went out the exchange ended.
    std::pair<std::string, std::chrono::milliseconds> Run(const Command& command) {
        const Clock::time_point start = port.now;
        std::string result = TransactUntilReply(links, command);
        return {result, std::chrono::duration_cast<std::chrono::milliseconds>(port.now - start)};
    }

    ClockedPort port;
    StringListLog log;
    TransactLinks links;
    int baudIndex = 9; // 115200: a 22 ms reply wait
    bool checksum = false;
    std::vector<int> slept;
};

TEST(WholeReply, EndsWithTheTerminatorAndWithChecksumModeOnAValidChecksum) {
    struct Case {
        const char* received;
        bool checksum;
        bool whole;
    };
    const Case cases[] = {
        {"", false, false},     {"!01TKM", false, false}, {"!01TKM\r", false, true}, {"\r", false, true},
        {"?01\r", false, true}, {">0FB4\r", true, true},  {">0FB5\r", true, false},  {">0Fb4\r", true, false},
        {">0F\r", true, false}, {"B4\r", true, false},    {">0FB4", true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWholeReply(c.received, c.checksum), c.whole) << c.received << " " << c.checksum;
}

TEST_F(TransactUntilReplyTest, EndsWhenTheReplyIsWholeNotWhenTheWaitIsOver) {
    port.pieces = {{2ms, "!01TK"}, {3ms, "M-92"}, {4ms, "14\r"}, {5ms, "late"}};
    const auto [payload, took] = Run(ReadDeviceName(1));
    EXPECT_EQ(payload, "TKM-9214");
    EXPECT_EQ(took, 4ms);
    EXPECT_EQ(port.sent, (std::vector<std::string>{"$01M\r"}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t$01M --> !01TKM-9214\r"}));
    EXPECT_TRUE(slept.empty());
}

TEST_F(TransactUntilReplyTest, ASilentTerminalGetsTheWholeReplyWaitAndFails) {
    const auto [payload, took] = Run(ReadDeviceName(1));
    EXPECT_EQ(payload, "error");
    EXPECT_EQ(took, 22ms);
    baudIndex = 5;
    const auto [slower, tookSlower] = Run(WriteConfiguration(1, {}));
    EXPECT_EQ(slower, "error");
    EXPECT_EQ(tookSlower, 552ms); // 52 ms and the command's own 500
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(TransactUntilReplyTest, AReplyThatArrivesAfterTheWaitIsNotTaken) {
    port.pieces = {{10ms, "!0"}, {23ms, "1A\r"}};
    const auto [payload, took] = Run(ReadDeviceName(1));
    EXPECT_EQ(payload, "error");
    EXPECT_EQ(took, 22ms);
}

TEST_F(TransactUntilReplyTest, ARefusalEndsAtOnceAndFailsUnlogged) {
    port.pieces = {{1ms, "?01\r"}};
    const auto [payload, took] = Run(ReadDeviceName(1));
    EXPECT_EQ(payload, "error");
    EXPECT_EQ(took, 1ms);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(TransactUntilReplyTest, WithChecksumModeOnlyAValidChecksumEndsTheExchangeEarly) {
    checksum = true;
    port.pieces = {{1ms, ">0FB4\r"}};
    const auto [good, tookGood] = Run(ReadLineState(1));
    EXPECT_EQ(good, "0F");
    EXPECT_EQ(tookGood, 1ms);

    // A wrong checksum may be followed by nothing better: the whole wait, then Transact's verdict.
    port.pieces = {{1ms, ">0FB5\r"}};
    const auto [bad, tookBad] = Run(ReadLineState(1));
    EXPECT_EQ(bad, "error");
    EXPECT_EQ(tookBad, 22ms);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t@01A1 --> >0FB4\r", "2\t@01A1 --> >0FB5\r"}));
}

TEST_F(TransactUntilReplyTest, TheLinesEchoDoesNotEndTheExchange) {
    // The echo ends with a carriage return, and with checksum mode on it even carries a valid checksum.
    checksum = true;
    port.pieces = {{1ms, "@01"}, {2ms, "A1\r"}, {5ms, ">0FB4\r"}};
    const auto [payload, took] = Run(ReadLineState(1));
    EXPECT_EQ(payload, "0F");
    EXPECT_EQ(took, 5ms);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{std::string(kLineEchoNote), "2\t@01A1 --> >0FB4\r"}));

    // An echo and then silence: the whole wait, and a failure.
    port.pieces = {{1ms, "@01A1\r"}};
    const auto [silent, tookSilent] = Run(ReadLineState(1));
    EXPECT_EQ(silent, "error");
    EXPECT_EQ(tookSilent, 22ms);
    EXPECT_EQ(log.LineCount(), 2);
}

TEST_F(TransactUntilReplyTest, APortThatCannotWaitGetsTheFixedWait) {
    port.canWait = false;
    port.pieces = {{1ms, "!01A\r"}};
    const auto [payload, took] = Run(ReadDeviceName(1));
    EXPECT_EQ(payload, "A");
    EXPECT_EQ(slept, (std::vector<int>{22}));
    EXPECT_EQ(took, 22ms);
}

TEST_F(TransactUntilReplyTest, TheHostAliveMessageTakesAnyReplyOrNone) {
    const auto [payload, took] = Run(HostAlive());
    EXPECT_EQ(payload, "");
    EXPECT_EQ(took, 22ms);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1\t~** --> "}));
}

} // namespace
} // namespace tkm::protocol
