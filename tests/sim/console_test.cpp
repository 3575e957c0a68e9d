#include "sim/SimConsole.h"
#include "sim/SimProgramOptions.h"
#include "sim/SimTerminal.h"
#include "sim/TerminalStateText.h"

#include <gtest/gtest.h>

namespace tkm::sim {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(SimConsoleTest, KeysByCodeAndName) {
    EXPECT_EQ(SimConsole::keyCode("12"), 12);
    EXPECT_EQ(SimConsole::keyCode("F10"), 10);
    EXPECT_EQ(SimConsole::keyCode("enter"), 30);
    EXPECT_EQ(SimConsole::keyCode("+/-"), 23);
    EXPECT_EQ(SimConsole::keyCode("d1"), 20);
    EXPECT_EQ(SimConsole::keyCode("d0"), 25);
    EXPECT_EQ(SimConsole::keyCode("31"), 0);
    EXPECT_EQ(SimConsole::keyCode("0"), 0);
    EXPECT_EQ(SimConsole::keyCode("F11"), 0);
}

TEST(SimConsoleTest, CommandsDriveTheTerminal) {
    SimTerminal terminal; // not started: the console works on the model and the line settings
    std::vector<std::string> live;
    SimConsole console(terminal, [&live](const std::string& line) { live.push_back(line); });
    TerminalModel& model = terminal.model();

    EXPECT_EQ(console.execute("key F1 Enter d7 12").output, "");
    EXPECT_EQ(model.state().keys, (std::vector<int>{1, 30, 12, 12}));
    EXPECT_TRUE(contains(console.execute("key 99").output, "no key"));

    console.execute("in 0F");
    console.execute("in 0 1");
    EXPECT_EQ(model.state().inputs, 0x8F);
    EXPECT_TRUE(contains(console.execute("in 8 1").output, "in needs"));

    EXPECT_TRUE(contains(console.execute("init on").output, "sampled at power-up"));
    EXPECT_TRUE(contains(console.execute("power").output, "address 00, 9600 baud, checksum off (init mode)"));
    EXPECT_EQ(console.execute("power off").output, "terminal off\n");
    EXPECT_FALSE(model.state().powered);
    console.execute("init off");
    console.execute("power on");
    EXPECT_EQ(model.lineSettings().address, 1);

    EXPECT_EQ(console.execute("fault late 250").output, "faults: late 250 ms\n");
    console.execute("fault silence on");
    console.execute("fault garbage");
    console.execute("fault truncate 3");
    console.execute("fault badsum on");
    console.execute("fault lowercase on");
    LineFaults faults = terminal.faults();
    EXPECT_TRUE(faults.silence && faults.wrongChecksum && faults.lowerCaseChecksum);
    EXPECT_EQ(faults.lateReply, std::chrono::milliseconds(250));
    EXPECT_EQ(faults.garbage, LineFaults::kDefaultGarbage);
    EXPECT_EQ(faults.truncateTo, 3);
    console.execute("fault garbage XY");
    EXPECT_EQ(terminal.faults().garbage, "XY");
    EXPECT_EQ(console.execute("fault clear").output, "faults: none\n");
    EXPECT_TRUE(contains(console.execute("fault late soon").output, "fault late"));

    console.execute("pace on");
    EXPECT_TRUE(terminal.pacing());
    console.execute("echo on");
    console.execute("turnaround 40");
    EXPECT_TRUE(terminal.echo());
    EXPECT_EQ(terminal.turnaround(), std::chrono::milliseconds(40));
    EXPECT_TRUE(contains(console.execute("turnaround 60001").output, "turnaround MILLISECONDS"));
    EXPECT_EQ(console.execute("trace").output, "trace empty\n");
    console.execute("trace live on");
    terminal.trace().append(TraceEntry::Direction::ToTerminal, "$01M\r", "ok");
    ASSERT_EQ(live.size(), 1u);
    EXPECT_TRUE(contains(live[0], "host->term  $01M\\r  (ok)"));
    console.execute("trace live off");
    terminal.trace().append(TraceEntry::Direction::FromTerminal, "!01\r", "");
    EXPECT_EQ(live.size(), 1u);
    EXPECT_TRUE(contains(console.execute("trace 1").output, "term->host  !01\\r"));

    EXPECT_TRUE(contains(console.execute("state").output, "keys waiting: none")); // cleared at power-up
    EXPECT_TRUE(contains(console.execute("help").output, "fault truncate"));
    EXPECT_TRUE(contains(console.execute("bogus").output, "unknown command"));
    EXPECT_FALSE(console.execute("state").quit);
    EXPECT_TRUE(console.execute("quit").quit);
    EXPECT_EQ(console.execute("   ").output, "");
}

TEST(TerminalStateTextTest, DisplayBytesInEachCodePage) {
    EXPECT_EQ(displayRowText("\x8F\xE0\xA8\xA2\xA5\xE2", 0), "Привет");
    EXPECT_EQ(displayRowText("\xCF\xF0\xE8\xE2\xE5\xF2", 1), "Привет");
    EXPECT_EQ(displayRowText("\xF0\xD2\xC9\xD7\xC5\xD4", 2), "Привет");
    EXPECT_EQ(displayRowText("\xF0\xF1", 0), "Ёё");
    EXPECT_EQ(displayRowText("\xA8\xB8", 1), "Ёё");
    EXPECT_EQ(displayRowText("\xB3\xA3", 2), "Ёё");
    EXPECT_EQ(displayRowText("\xB0\xB7", 1), "₀₇"); // user symbols
    EXPECT_EQ(displayRowText("\xB8\xBF", 2), "₀₇");
    EXPECT_EQ(displayRowText("A\x01\xB9", 1), "A··");
}

TEST(TerminalStateTextTest, StateShowsEverything) {
    TerminalState state;
    state.deviceName = "TKM-9214";
    state.firmware = "1.02";
    state.typeCode = "0Z";
    state.rows = {"KEYBOARD TEST       ", "Key 12              ", std::string(20, ' '), std::string(20, ' ')};
    state.lamp2 = true;
    state.direction = 0x0F;
    state.lines = 0xA5;
    state.watchdogEnabled = true;
    state.watchdogPeriod = 30;
    state.moduleStatus = 4;
    state.keys = {10, 30};
    state.symbols.fill("0000000000000000");
    state.symbols[0] = "1F00000000000000";
    const std::string text = formatState(state);
    for (const char* part : {"|KEYBOARD TEST       |", "|Key 12              |", "L1 off, L2 on", "lines A5",
                             "direction O O O O I I I I", "state     1 0 1 0 0 1 0 1", "period 1E (3.0 s)",
                             "(ALARM)", "keys waiting: 10 30", "  #####", "code page WIN-1251"})
        EXPECT_TRUE(contains(text, part)) << part << "\n" << text;
}

TEST(SimProgramOptionsTest, ParsesTheCommandLine) {
    std::string error;
    auto options = SimProgramOptions::parse(
        {"--address", "0x1F",    "--baud=19200", "--checksum", "on",           "--code-page", "KOI-8R",
         "--name",    "TKM",     "--firmware",   "2.0",        "--link",       "/tmp/x",      "--no-stdin",
         "--pace",    "--trace", "--init",       "--echo",     "--turnaround", "35"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->settings.address, 31);
    EXPECT_EQ(options->settings.baudCode, 7);
    EXPECT_TRUE(options->settings.checksum);
    EXPECT_EQ(options->settings.codePage, 2);
    EXPECT_EQ(options->settings.deviceName, "TKM");
    EXPECT_EQ(options->settings.firmware, "2.0");
    EXPECT_TRUE(options->settings.initPin);
    EXPECT_EQ(options->link, "/tmp/x");
    EXPECT_FALSE(options->readStdin);
    EXPECT_TRUE(options->pacing && options->trace && options->echo);
    EXPECT_EQ(options->turnaroundMs, 35);

    const std::vector<std::vector<std::string>> bad = {
        {"--address", "0"}, {"--address", "256"},   {"--address"},
        {"--baud", "9601"}, {"--checksum", "1"},    {"--code-page", "x"},
        {"--name", "a\rb"}, {"--type", "ABC"},      {"--frobnicate"},
        {"--pace=1"},       {"--link", ""},         {"--address", "12x"},
        {"--echo=on"},      {"--turnaround", "-5"}, {"--turnaround", "60001"}};
    for (const auto& arguments : bad) {
        error.clear();
        EXPECT_FALSE(SimProgramOptions::parse(arguments, error)) << arguments[0];
        EXPECT_FALSE(error.empty()) << arguments[0];
    }
    EXPECT_TRUE(contains(SimProgramOptions::usage(), "--no-stdin"));
}

} // namespace
} // namespace tkm::sim
