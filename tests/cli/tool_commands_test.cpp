// Every command of tkm9214 against the simulated terminal: the frames on the line, the text and JSON
// results, and what the terminal holds afterwards.
#include "SimulatedTerminalFixture.h"

#include "protocol/Transact.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace {

using tkm::sim::TerminalState;

class ToolCommandsTest : public SimulatedTerminalFixture {
public:
    // Changes the terminal as a frame of its own would, without going over the line.
    void handle(std::initializer_list<const char*> frames) {
        for (const char* frame : frames)
            ASSERT_NE(terminal->model().receiveFrame(frame).reply.value_or("?").front(), '?') << frame;
    }
};

TEST_F(ToolCommandsTest, EachCommandSendsItsFramesAndReportsInTextAndJson) {
    struct Case {
        std::vector<std::string> arguments;
        std::function<void(ToolCommandsTest&)> before;
        std::vector<std::string> frames;
        const char* text;
        const char* json;
        std::function<bool(const TerminalState&)> after;
    };
    const Case cases[] = {
        {{"identify"},
         [](ToolCommandsTest& t) {
             t.handle({"$01DF0", "@010A", "~015P", "~013119"});
             t.terminal->model().setInputs(0x50);
         },
         {"$01M", "$01F", "$01D", "~014P", "~014S", "@01", "$012", "~012"},
         "Address     1 (0x01)\nDevice      TKM-9214\nFirmware    1.02\n"
         "Config      address 1 (0x01), 9600 baud, WIN-1251, checksum off\nDirections  F0 (set bit: input)\n"
         "Power-on    0A\nSafe        00\nLines       5A\nWatchdog    on, period 2.5 s\n",
         R"({"address":1,"name":"TKM-9214","firmware":"1.02","config":{"address":1,"baud":9600,
             "code_page":"WIN-1251","checksum":false},"directions":"F0","power_on":"0A","safe":"00",
             "lines":"5A","watchdog":{"enabled":true,"period":2.5}})",
         nullptr},
        {{"display", "text", "Привет 1"},
         nullptr,
         {"$012", "$01O\xCF\xF0\xE8\xE2\xE5\xF2 1"},
         "sent: Привет 1\n",
         R"({"text":"Привет 1"})",
         [](const TerminalState& s) { return s.rows[0].starts_with("\xCF\xF0\xE8\xE2\xE5\xF2 1"); }},
        {{"display", "clear"}, nullptr, {"$01T"}, "display cleared\n", R"({"cleared":true})", nullptr},
        {{"display", "cursor", "3", "19"},
         nullptr,
         {"$01T319"},
         "cursor at row 3, column 19\n",
         R"({"row":3,"column":19})",
         [](const TerminalState& s) { return s.cursorRow == 3 && s.cursorColumn == 19; }},
        {{"display", "lamp", "2", "on"},
         nullptr,
         {"$01I21"},
         "lamp 2 on\n",
         R"({"lamp":2,"on":true})",
         [](const TerminalState& s) { return s.lamp2 && !s.lamp1; }},
        {{"display", "settings", "--blink", "--enabled"},
         nullptr,
         {"$01S5"},
         "display settings: blink, enabled\n",
         R"({"blink":true,"static":false,"enabled":true,"eeprom":false})",
         [](const TerminalState& s) { return s.displaySettings == 5; }},
        {{"keys"},
         [](ToolCommandsTest& t) {
             t.terminal->model().pressKey(10);
             t.terminal->model().pressKey(30);
         },
         {"$01K"},
         "F10 Enter\n",
         R"({"keys":["F10","Enter"]})",
         [](const TerminalState& s) { return s.keys.empty(); }},
        {{"dio", "read"},
         [](ToolCommandsTest& t) { t.handle({"@01A5"}); },
         {"@01"},
         "A5\n",
         R"({"lines":"A5"})",
         nullptr},
        {{"dio", "write", "0f"},
         nullptr,
         {"@010F", "$01D"},
         "0F\n",
         R"({"lines":"0F","inputs":[]})",
         [](const TerminalState& s) { return s.outputs == 0x0F; }},
        {{"dio", "directions", "F0"},
         nullptr,
         {"$01DF0"},
         "F0\n",
         R"({"directions":"F0"})",
         [](const TerminalState& s) { return s.direction == 0xF0; }},
        {{"dio", "save-power-on"},
         [](ToolCommandsTest& t) { t.handle({"@0133"}); },
         {"~015P"},
         "outputs saved as the power-on state\n",
         R"({"saved":"power_on"})",
         [](const TerminalState& s) { return s.powerOnValue == 0x33; }},
        {{"dio", "save-safe"},
         [](ToolCommandsTest& t) { t.handle({"@0144"}); },
         {"~015S"},
         "outputs saved as the safe state\n",
         R"({"saved":"safe"})",
         [](const TerminalState& s) { return s.safeValue == 0x44; }},
        {{"watchdog", "read"},
         [](ToolCommandsTest& t) { t.handle({"~013128"}); },
         {"~012"},
         "on, period 4 s\n",
         R"({"enabled":true,"period":4})",
         nullptr},
        {{"watchdog", "set", "on", "--period", "2.5"},
         nullptr,
         {"~013119"},
         "on, period 2.5 s\n",
         R"({"enabled":true,"period":2.5})",
         [](const TerminalState& s) { return s.watchdogEnabled && s.watchdogPeriod == 25; }},
        {{"watchdog", "set", "off"},
         [](ToolCommandsTest& t) { t.handle({"~013128"}); },
         {"~012", "~013028"},
         "off, period 4 s\n",
         R"({"enabled":false,"period":4})",
         [](const TerminalState& s) { return !s.watchdogEnabled && s.watchdogPeriod == 0x28; }},
        {{"watchdog", "status"},
         nullptr,
         {"~010"},
         "normal (status 00)\n",
         R"({"alarm":false,"status":"00"})",
         nullptr},
        {{"watchdog", "reset"}, nullptr, {"~011"}, "status reset\n", R"({"reset":true})", nullptr},
    };
    for (const Case& c : cases) {
        const std::string name = c.arguments[0] + " " + (c.arguments.size() > 1 ? c.arguments[1] : "");
        for (const bool asJson : {false, true}) {
            startTerminal();
            if (c.before)
                c.before(*this);
            received();
            std::vector<std::string> arguments = c.arguments;
            if (asJson)
                arguments.push_back("--json");
            const ToolProcess::Outcome outcome = tool(arguments);
            EXPECT_EQ(outcome.status, 0) << name << outcome.err;
            EXPECT_EQ(received(), c.frames) << name;
            EXPECT_EQ(outcome.err, "") << name;
            if (asJson) {
                EXPECT_EQ(json(outcome.out), json(c.json)) << name << ": " << outcome.out;
            } else {
                EXPECT_EQ(outcome.out, c.text) << name;
            }
        }
        if (c.after) {
            EXPECT_TRUE(c.after(state())) << name;
        }
    }
}

TEST_F(ToolCommandsTest, DisplayTextIsConvertedToTheCodePageTheTerminalReports) {
    tkm::sim::TerminalSettings koi8r;
    koi8r.codePage = 2;
    startTerminal(koi8r);
    const ToolProcess::Outcome outcome = tool({"display", "text", "Привет", "--row", "2", "--column", "3"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(received(), (std::vector<std::string>{"$012", "$01T203\xF0\xD2\xC9\xD7\xC5\xD4"}));
    EXPECT_EQ(state().rows[2].substr(3, 6), "\xF0\xD2\xC9\xD7\xC5\xD4");
}

TEST_F(ToolCommandsTest, DisplayTextIsCutAndTextTheTerminalCannotShowIsNotSent) {
    const std::string fifty(50, 'x');
    const ToolProcess::Outcome cut = tool({"display", "text", fifty});
    EXPECT_EQ(cut.status, 0);
    EXPECT_EQ(received(), (std::vector<std::string>{"$012", "$01O" + std::string(43, 'x')}));
    EXPECT_NE(cut.err.find("only the first 43 characters are sent"), std::string::npos) << cut.err;

    const ToolProcess::Outcome refused = tool({"display", "text", "A\tB😀"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("The terminal cannot show these characters: 😀\\x09"), std::string::npos)
        << refused.err;
    EXPECT_TRUE(received().empty());
}

TEST_F(ToolCommandsTest, SymbolsAreWrittenFromATkmFileWithThePagesChecks) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto file = [&folder](const char* name, const QByteArray& bytes) {
        QFile f(folder.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName().toStdString();
    };
    const std::string good =
        file("good.tkm", "[CommSetting]\r\nAddr=5\r\n[UserSymbols]\r\n0=1F1F1F1F1F1F1F1F\r\n"
                         "3=0a0a0a0a0a0a0a0a\r\n7=FFFFFFFFFFFFFFFF\r\n");
    ToolProcess::Outcome outcome = tool({"symbols", "write", good, "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out), json(R"({"written":[0,1,2,3,4,5,6,7],"failed":[],"not_sent":[]})"));
    const std::vector<std::string> frames = received();
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[0], "$01G01F1F1F1F1F1F1F1F");
    EXPECT_EQ(frames[1], "$01G10000000000000000");
    EXPECT_EQ(frames[3], "$01G30a0a0a0a0a0a0a0a");
    EXPECT_EQ(state().symbols[7], "FFFFFFFFFFFFFFFF");

    outcome = tool({"symbols", "write", good, "--index", "3"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(received(), (std::vector<std::string>{"$01G30a0a0a0a0a0a0a0a"}));
    EXPECT_EQ(outcome.out, "symbol 3: 0a0a0a0a0a0a0a0a\n");

    // The page's messages; nothing is sent from a file that does not pass.
    const std::string bad = file("bad.tkm", "[UserSymbols]\n1=1F1F\n2=1F1F1F1G1F1F1F1F\n");
    outcome = tool({"symbols", "write", bad});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("Incorrect length symbol #1\n"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("Incorrect symbol #2 'G'\n"), std::string::npos) << outcome.err;
    EXPECT_TRUE(received().empty());

    const std::string settingsOnly = file("settings.tkm", "[CommSetting]\nAddr=5\n");
    for (const std::string& wrong :
         {settingsOnly, folder.filePath(QStringLiteral("missing.tkm")).toStdString()}) {
        outcome = tool({"symbols", "write", wrong});
        EXPECT_EQ(outcome.status, 2) << wrong;
        EXPECT_TRUE(received().empty());
    }
    EXPECT_NE(outcome.err.find("Cannot read"), std::string::npos) << outcome.err;
}

TEST_F(ToolCommandsTest, KeysAreWatchedAndTheHostIsKeptAliveUntilInterrupted) {
    ToolProcess watch(onPort({"keys", "--watch"}));
    terminal->model().pressKey(1);
    ASSERT_TRUE(watch.waitForOutput("F1\n"));
    terminal->model().pressKey(24);
    ASSERT_TRUE(watch.waitForOutput("Up\n"));
    watch.interrupt();
    ToolProcess::Outcome outcome = watch.finish();
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    EXPECT_EQ(outcome.out, "F1\nUp\n");

    handle({"~013114"}); // enabled, 2 s
    received();
    const std::uint64_t before = terminal->trace().total();
    ToolProcess alive(onPort({"watchdog", "keepalive", "--json"}));
    // ~012 and its answer, then two host-alive messages, which get none.
    ASSERT_TRUE(terminal->trace().waitForTotal(before + 4, std::chrono::seconds(20)));
    alive.interrupt();
    outcome = alive.finish();
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    const std::vector<std::string> frames = received();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], "~012");
    EXPECT_EQ(frames[1], "~**");
    EXPECT_EQ(json(outcome.out).value(QStringLiteral("keepalive")).toInt(),
              static_cast<int>(frames.size()) - 1);
    EXPECT_EQ(state().moduleStatus, 0);
}

TEST_F(ToolCommandsTest, TraceShowsEveryExchangeAsTheWindowsLogDoes) {
    const ToolProcess::Outcome outcome = tool({"--trace", "dio", "write", "A5"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(withoutTimes(outcome.err), "1\t@01A5 --> >\n2\t$01D --> !0100\n");
    EXPECT_TRUE(matches(outcome.err, "^1\t@01A5 --> >  \\([0-9]+ ms\\)\n")) << outcome.err;
    const ToolProcess::Outcome checked =
        ToolProcess::run({"--simulator", "--trace", "--json", "watchdog", "read"});
    EXPECT_EQ(withoutTimes(checked.err), "1\t~012 --> !01000\n");
}

// A two-wire RS-485 line hands each frame back before the reply: the exchange still ends with the
// reply, not with the echo, and the trace says once that the line echoes.
TEST_F(ToolCommandsTest, AnEchoingLineIsWorkedAsAnyOtherAndTracedOnce) {
    terminal->setEcho(true);
    const ToolProcess::Outcome outcome = tool({"--trace", "identify"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("TKM-9214"), std::string::npos) << outcome.out;
    EXPECT_EQ(withoutTimes(outcome.err)
                  .rfind(std::string(tkm::protocol::kLineEchoNote) + "\n2\t$01M --> !01TKM-9214\n", 0),
              0u)
        << outcome.err;
    EXPECT_EQ(outcome.err.find(tkm::protocol::kLineEchoNote, 1), std::string::npos);

    const ToolProcess::Outcome simulated =
        ToolProcess::run({"--simulator", "--simulator-echo", "--simulator-turnaround", "5", "dio", "read"});
    EXPECT_EQ(simulated.status, 0) << simulated.err;
}

TEST_F(ToolCommandsTest, PortsListsTheMachinesPorts) {
    const ToolProcess::Outcome outcome = ToolProcess::run({"ports", "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(json(outcome.out).value(QStringLiteral("ports")).isArray()) << outcome.out;
}

TEST(ToolSimulator, EveryCommandCanBeTriedOnTheBuiltInTerminal) {
    const ToolProcess::Outcome outcome = ToolProcess::run({"--simulator", "identify", "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(R"("name":"TKM-9214")"), std::string::npos) << outcome.out;
}

} // namespace
