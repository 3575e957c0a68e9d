#include "HostPort.h"

#include "sim/SimFrame.h"
#include "sim/SimTerminal.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tkm::sim {
namespace {

using namespace std::chrono_literals;
using test::HostPort;
using Direction = TraceEntry::Direction;

template <typename Change> LineFaults faults(Change change) {
    LineFaults result;
    change(result);
    return result;
}

SimTerminal::Options withChecksum(bool on) {
    SimTerminal::Options options;
    options.settings.checksum = on;
    return options;
}

class PtyLineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(terminal.start(), ""); }
    void reset(SimTerminal::Options options) {
        terminal.stop();
        terminal.~SimTerminal();
        new (&terminal) SimTerminal(std::move(options));
        ASSERT_EQ(terminal.start(), "");
    }

    SimTerminal terminal;
};

TEST_F(PtyLineTest, AnswersOverThePseudoTerminalAndTracesBothWays) {
    EXPECT_EQ(terminal.slavePath().rfind("/dev/pts/", 0), 0u);
    HostPort host(terminal);
    ASSERT_TRUE(host.isOpen()) << host.error();
    EXPECT_EQ(host.exchange("$01M\r"), "!01TKM-9214\r");
    EXPECT_EQ(host.exchange("$02M\r"), "");
    EXPECT_EQ(host.exchange("$01X\r"), "?01\r");

    const std::vector<TraceEntry> trace = terminal.trace().entries();
    ASSERT_EQ(trace.size(), 5u);
    EXPECT_EQ(trace[0].direction, Direction::ToTerminal);
    EXPECT_EQ(trace[0].bytes, "$01M\r");
    EXPECT_EQ(trace[0].note, "ok");
    EXPECT_EQ(trace[1].direction, Direction::FromTerminal);
    EXPECT_EQ(trace[1].bytes, "!01TKM-9214\r");
    EXPECT_EQ(trace[2].note, "not for this address");
    EXPECT_EQ(trace[3].note, "refused");
    EXPECT_LE(trace[0].time, trace[1].time);
    EXPECT_EQ(trace[4].sequence, 4u);
    EXPECT_EQ(terminal.trace().frames(Direction::ToTerminal),
              (std::vector<std::string>{"$01M\r", "$02M\r", "$01X\r"}));
    EXPECT_NE(LineTrace::format(trace[1]).find("term->host  !01TKM-9214\\r"), std::string::npos);
}

TEST_F(PtyLineTest, FramesSplitAcrossWritesAndSeveralInOneWrite) {
    HostPort host(terminal);
    host.write("$0");
    host.write("1");
    EXPECT_EQ(host.exchange("M\r$01F\r"), "!01TKM-9214\r!011.02\r");
}

TEST_F(PtyLineTest, SilentWhileTheHostLineRunsAtAnotherSpeed) {
    HostPort host(terminal, 19200);
    EXPECT_EQ(host.exchange("$01M\r"), "");
    EXPECT_NE(terminal.trace().entries().back().note.find("not understood"), std::string::npos);
    host.setSpeed(9600);
    EXPECT_EQ(host.exchange("$01F\r"), "!011.02\r");
    // Half a frame at the wrong speed is lost with the rest of that frame.
    host.setSpeed(1200);
    const std::uint64_t traced = terminal.trace().total();
    host.write("$01");
    ASSERT_TRUE(terminal.trace().waitForTotal(traced + 1, HostPort::kSafety)); // taken at 1200 baud
    host.setSpeed(9600);
    EXPECT_EQ(host.exchange("M\r"), "");
}

TEST_F(PtyLineTest, ChecksumModeOnBothWays) {
    reset(withChecksum(true));
    HostPort host(terminal);
    EXPECT_EQ(host.exchange("$01MD2\r"), "!01TKM-92146B\r");
    EXPECT_EQ(host.exchange("$01M\r"), "");
    EXPECT_EQ(host.exchange(">0FB4\r"), "");
    EXPECT_EQ(terminal.trace().entries().back().note, "not a command");
}

TEST_F(PtyLineTest, OverlongFramesAreDroppedWithoutGrowingTheBuffer) {
    HostPort host(terminal);
    host.write(std::string(100000, 'A'));
    EXPECT_EQ(host.exchange("\r$01F\r"), "!011.02\r");
    const std::vector<TraceEntry> trace = terminal.trace().entries();
    ASSERT_GE(trace.size(), 1u);
    EXPECT_EQ(trace[0].bytes.size(), PtyLine::kMaxFrameLength);
    EXPECT_NE(trace[0].note.find("dropped"), std::string::npos);
}

TEST_F(PtyLineTest, RepliesWaitingToGoOutAreBounded) {
    terminal.setFaults(faults([](LineFaults& f) { f.lateReply = 60000ms; }));
    HostPort host(terminal);
    std::string frames;
    for (int i = 0; i < 200; ++i)
        frames += "$01M\r";
    EXPECT_EQ(host.exchange(frames, 0ms), "");
    int dropped = 0;
    for (const TraceEntry& entry : terminal.trace().entries())
        dropped += entry.note == "reply dropped: too many replies waiting";
    EXPECT_EQ(dropped, 200 - static_cast<int>(PtyLine::kMaxQueuedReplies));
}

// Each fault, on the reply to $01M at checksum mode on (whose checksum 6B has a letter in it).
TEST_F(PtyLineTest, FaultsChangeEveryReplyWhileOn) {
    reset(withChecksum(true));
    const struct {
        const char* name;
        LineFaults lineFaults;
        std::string expected;
    } cases[] = {
        {"none", {}, "!01TKM-92146B\r"},
        {"silence", faults([](LineFaults& f) { f.silence = true; }), ""},
        {"wrong checksum", faults([](LineFaults& f) { f.wrongChecksum = true; }), "!01TKM-92146C\r"},
        {"garbage", faults([](LineFaults& f) { f.garbage = LineFaults::kDefaultGarbage; }),
         "#\xFF!01TKM-92146B\r"},
        {"truncated", faults([](LineFaults& f) { f.truncateTo = 2; }), "!0"},
        {"truncated to nothing", faults([](LineFaults& f) { f.truncateTo = 0; }), ""},
        {"lower case", faults([](LineFaults& f) { f.lowerCaseChecksum = true; }), "!01TKM-92146b\r"},
        {"late", faults([](LineFaults& f) { f.lateReply = 10000ms; }), ""},
    };
    for (const auto& c : cases) {
        terminal.setFaults(c.lineFaults);
        HostPort host(terminal);
        EXPECT_EQ(host.exchange("$01MD2\r"), c.expected) << c.name;
    }
}

TEST_F(PtyLineTest, LateReplyArrivesAfterItsDelay) {
    terminal.setFaults(faults([](LineFaults& f) { f.lateReply = 200ms; }));
    HostPort host(terminal);
    EXPECT_EQ(host.exchange("$01M\r", 52ms), "");
    host.wait(2000ms);
    EXPECT_EQ(host.read(), "!01TKM-9214\r");
    EXPECT_EQ(terminal.trace().entries().back().note, "fault: late 200 ms");
}

TEST_F(PtyLineTest, AnEchoingLineGivesEveryByteBackAtOnceAndTheReplyAfterTheTurnaround) {
    SimTerminal::Options options;
    options.echo = true;
    options.turnaround = 300ms;
    reset(options);
    HostPort host(terminal);
    EXPECT_EQ(host.exchange("$01M\r", 52ms), "$01M\r");
    host.wait(2000ms);
    EXPECT_EQ(host.read(), "!01TKM-9214\r");
    // Bytes the terminal does not take for a frame come back as well; the trace shows only the terminal.
    terminal.setTurnaround(0ms);
    EXPECT_EQ(host.exchange("x$02M\r"), "x$02M\r");
    EXPECT_EQ(terminal.trace().frames(Direction::FromTerminal), (std::vector<std::string>{"!01TKM-9214\r"}));
}

TEST_F(PtyLineTest, PacedRepliesCarryTheSameBytes) {
    terminal.setPacing(true);
    HostPort host(terminal);
    EXPECT_EQ(host.exchange("$01M\r$012\r", 100ms), "!01TKM-9214\r!010Z060100\r");
    // A configuration write still takes effect only after its paced reply.
    EXPECT_EQ(host.exchange("%01020Z060100\r", 100ms), "!02\r");
    EXPECT_EQ(host.exchange("$02M\r", 100ms), "!02TKM-9214\r");
}

TEST_F(PtyLineTest, NewBaudRateAppliesAfterTheReply) {
    HostPort host(terminal);
    EXPECT_EQ(host.exchange("%01010Z070100\r"), "!01\r"); // 19200 from now on
    EXPECT_EQ(host.exchange("$01M\r"), "");
    host.setSpeed(19200);
    EXPECT_EQ(host.exchange("$01M\r"), "!01TKM-9214\r");
}

TEST_F(PtyLineTest, PowerOffSilencesTheLine) {
    HostPort host(terminal);
    terminal.model().powerOff();
    EXPECT_EQ(host.exchange("$01M\r"), "");
    EXPECT_EQ(terminal.trace().entries().back().note, "terminal is off");
    terminal.model().powerOn();
    EXPECT_EQ(host.exchange("$01M\r"), "!01TKM-9214\r");
}

TEST_F(PtyLineTest, HostCanCloseAndReopenExclusively) {
    const std::string path = terminal.slavePath();
    {
        HostPort host(terminal);
        ASSERT_TRUE(host.isOpen()) << host.error();
        EXPECT_EQ(host.exchange("$01M\r"), "!01TKM-9214\r");
        const int second = test::openWithoutAdminCapability(path);
        EXPECT_EQ(second, -1) << "exclusive mode keeps a second opener out";
        if (second >= 0)
            ::close(second);
        host.write("$01F\r"); // a reply nobody reads before the close
        host.wait(52ms);
    } // closed without clearing exclusive mode, as a crashed host would

    // The simulator clears the exclusive mode once it has seen the close.
    int fd = -1;
    const auto giveUp = std::chrono::steady_clock::now() + HostPort::kSafety;
    while ((fd = test::openWithoutAdminCapability(path)) == -1 && std::chrono::steady_clock::now() < giveUp)
        ::usleep(1000);
    ASSERT_GE(fd, 0);
    ::close(fd);

    HostPort again(terminal);
    ASSERT_TRUE(again.isOpen()) << again.error();
    EXPECT_EQ(again.exchange("$01D\r"), "!0100\r"); // the unread reply of before is gone
}

TEST_F(PtyLineTest, HostThatClearsExclusiveModeReopensAtOnce) {
    const std::string path = terminal.slavePath();
    for (int i = 0; i < 20; ++i) {
        HostPort host(terminal);
        host.close(true);
        const int fd = test::openWithoutAdminCapability(path);
        ASSERT_GE(fd, 0) << "round " << i;
        ::close(fd);
    }
}

TEST_F(PtyLineTest, StopClosesAndStartOpensAFreshLine) {
    const std::string first = terminal.slavePath();
    terminal.stop();
    EXPECT_FALSE(terminal.running());
    EXPECT_EQ(terminal.slavePath(), "");
    EXPECT_EQ(::access(first.c_str(), F_OK), -1);
    ASSERT_EQ(terminal.start(), "");
    HostPort host(terminal);
    EXPECT_EQ(host.exchange("$01M\r"), "!01TKM-9214\r");
}

TEST_F(PtyLineTest, ModelAndFaultsAreUsableFromOtherThreadsWhileTheLineRuns) {
    HostPort host(terminal);
    std::thread panel([&] {
        for (int i = 0; i < 200; ++i) {
            terminal.model().pressKey(1 + i % 30);
            terminal.model().setInputs(static_cast<std::uint8_t>(i));
            terminal.setFaults({});
            terminal.setPacing(false);
            (void)terminal.model().state();
        }
    });
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(host.exchange("@01\r").substr(0, 1), ">");
    panel.join();
}

} // namespace
} // namespace tkm::sim
