// How tkm9214 ends when something is wrong: the terminal silent, refusing or answering nonsense (1),
// the command line or an input file wrong (2), the port missing or held by another program (3).
#include "SimulatedTerminalFixture.h"

#include "sim/LineFaults.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class ToolFailuresTest : public SimulatedTerminalFixture {};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(ToolFailuresTest, ASilentLineEndsWithStatusOneAfterOneReplyWait) {
    tkm::sim::LineFaults silent;
    silent.silence = true;
    terminal->setFaults(silent);
    const ToolProcess::Outcome outcome = tool({"identify", "--json"});
    EXPECT_EQ(outcome.status, 1);
    const char* message = "the terminal did not answer $01M (address 0x01, 9600 baud, checksum off)";
    EXPECT_EQ(
        json(outcome.out),
        (QJsonObject{{"error", QJsonObject{{"kind", "no-answer"}, {"message", message}}}, {"exit", 1}}));
    EXPECT_EQ(outcome.err, std::string("tkm9214: ") + message + "\n");
    EXPECT_EQ(received(), (std::vector<std::string>{"$01M"}));
}

TEST_F(ToolFailuresTest, ARefusingTerminalEndsWithStatusOne) {
    // Frames with a checksum, which this terminal takes for a command it does not know.
    const ToolProcess::Outcome outcome = tool({"--checksum", "identify"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "tkm9214: the terminal did not answer $01M as expected: it replied ?01 (address "
                           "0x01, 9600 baud, checksum on)\n");
    EXPECT_EQ(terminal->trace().frames(tkm::sim::TraceEntry::Direction::FromTerminal),
              (std::vector<std::string>{"?01\r"}));
    EXPECT_EQ(received(), (std::vector<std::string>{"$01MD2"}));
}

TEST_F(ToolFailuresTest, AReplyThatIsNotValidEndsWithStatusOne) {
    tkm::sim::LineFaults truncated;
    truncated.truncateTo = 6;
    terminal->setFaults(truncated);
    const ToolProcess::Outcome outcome = tool({"identify"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(contains(outcome.err, "the terminal's reply to $012 is not valid: not 10 characters"))
        << outcome.err;
}

TEST_F(ToolFailuresTest, AMissingPortEndsWithStatusThreeInTheToolsWords) {
    const ToolProcess::Outcome outcome =
        ToolProcess::run({"--port", "/dev/no-such-tty", "identify", "--json"});
    EXPECT_EQ(outcome.status, 3);
    const char* message = "cannot open /dev/no-such-tty: No such file or directory. The port is not present: "
                          "check the cable or adapter.";
    EXPECT_EQ(outcome.err, std::string("tkm9214: ") + message + "\n");
    EXPECT_EQ(json(outcome.out),
              (QJsonObject{{"error", QJsonObject{{"kind", "port"}, {"message", message}}}, {"exit", 3}}));
}

TEST_F(ToolFailuresTest, APortHeldByAnotherProgramEndsWithStatusThree) {
    const int holder = ::open(port.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    const ToolProcess::Outcome outcome = tool({"identify"});
    ::close(holder);
    EXPECT_EQ(outcome.status, 3);
    EXPECT_TRUE(contains(outcome.err, "tkm9214: cannot open " + port + ": ")) << outcome.err;
    EXPECT_TRUE(received().empty());
}

TEST_F(ToolFailuresTest, Rs485OnAPseudoTerminalEndsWithStatusThreeNamingThePort) {
    const ToolProcess::Outcome outcome = tool({"--rs485", "identify"});
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.err, "tkm9214: cannot open " + port + ": RS-485 direction control is not possible on " +
                               port +
                               ": its driver has no RS-485 mode, and it has no RTS line to switch the "
                               "transmitter with.\n");
    EXPECT_TRUE(received().empty());
}

TEST_F(ToolFailuresTest, WrongCommandLinesEndWithStatusTwoBeforeAnythingIsSent) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"fly"}, "tkm9214: unknown command 'fly' (try --help)\n"},
        {{"--baud", "9601", "identify"}, "is not one of the rates"},
        {{"identify", "extra"}, "identify: unexpected 'extra'"},
        {{"display"}, "display needs one of: text, clear, cursor, lamp, settings"},
        {{"display", "cursor", "4", "0"}, "display cursor: the row must be 0 to 3, not '4'"},
        {{"display", "text", "x", "--row", "1", "--column", "20"}, "--column must be 0 to 19, not '20'"},
        {{"display", "lamp", "3", "on"}, "the lamp must be 1 to 2, not '3'"},
        {{"display", "clear", "--blink"}, "display clear: no option --blink here"},
        {{"dio", "write", "1FF"}, "dio write: the line byte must be two hex digits"},
        {{"dio", "directions"}, "dio directions: a value is missing"},
        {{"watchdog", "set", "maybe"}, "the watchdog must be on or off, not 'maybe'"},
        {{"watchdog", "set", "on", "--period", "25.6"}, "--period must be seconds 0 to 25.5"},
        {{"watchdog", "set", "on", "--period", "1.25"}, "--period must be seconds 0 to 25.5"},
        {{"configure", "--new-address", "0"}, "--new-address must be 1 to 255"},
        {{"configure", "--code-page", "utf8"}, "--code-page must be cp866, win1251 or koi8r"},
        {{"configure", "--new-checksum", "yes"}, "--new-checksum must be on or off"},
        {{"symbols", "write"}, "symbols write: a value is missing"},
        {{"symbols", "write", "f.tkm", "--index", "8"}, "--index must be 0 to 7"},
        {{"keys", "F1"}, "keys: unexpected 'F1'"},
    };
    for (const Case& c : cases) {
        const ToolProcess::Outcome outcome = tool(c.arguments);
        EXPECT_EQ(outcome.status, 2) << c.message;
        EXPECT_TRUE(contains(outcome.err, c.message)) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_TRUE(received().empty());

    // Found fault with before the port is opened.
    const ToolProcess::Outcome both = ToolProcess::run({"--port", "/dev/no-such-tty", "dio", "write", "ZZ"});
    EXPECT_EQ(both.status, 2) << both.err;
}

} // namespace
