// The command line of tkm9214: connection options anywhere, a command's own options after it.
#include "cli/ToolOptions.h"

#include <gtest/gtest.h>

namespace {

ToolOptions parse(std::initializer_list<const char*> words) {
    QStringList arguments{QStringLiteral("tkm9214")};
    for (const char* w : words)
        arguments << QString::fromUtf8(w);
    return ToolOptions::parse(arguments);
}

TEST(ToolOptions, ConnectionOptionsStandAnywhereAndDefaultToTheFactorySetting) {
    const ToolOptions plain = parse({"--simulator", "identify"});
    EXPECT_EQ(plain.action, ToolOptions::Action::Run);
    EXPECT_TRUE(plain.simulator);
    EXPECT_EQ(plain.command, QStringLiteral("identify"));
    EXPECT_EQ(plain.baudRate, 9600);
    EXPECT_EQ(plain.address, 1);
    EXPECT_FALSE(plain.checksum);
    EXPECT_FALSE(plain.json);

    const ToolOptions late = parse({"identify", "--json", "--port=/dev/ttyUSB0", "--address", "0x1F",
                                    "--baud", "115200", "--checksum", "--trace"});
    EXPECT_EQ(late.action, ToolOptions::Action::Run);
    EXPECT_EQ(late.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(late.address, 31);
    EXPECT_EQ(late.baudRate, 115200);
    EXPECT_TRUE(late.baudGiven);
    EXPECT_TRUE(late.checksum && late.json && late.trace);
    EXPECT_FALSE(late.rs485);

    const ToolOptions field =
        parse({"identify", "--rs485", "--simulator", "--simulator-echo", "--simulator-turnaround=30"});
    EXPECT_TRUE(field.rs485 && field.simulatorEcho);
    EXPECT_EQ(field.simulatorTurnaroundMs, 30);
}

TEST(ToolOptions, CommandWordsAndOptionsAfterTheCommand) {
    const ToolOptions text = parse({"display", "text", "--row", "2", "--column=5", "--", "--not an option"});
    EXPECT_EQ(text.command, QStringLiteral("display"));
    EXPECT_EQ(text.words, (QStringList{QStringLiteral("text"), QStringLiteral("--not an option")}));
    EXPECT_EQ(text.values.value(QStringLiteral("row")), QStringLiteral("2"));
    EXPECT_EQ(text.values.value(QStringLiteral("column")), QStringLiteral("5"));

    const ToolOptions find = parse({"find", "--all"});
    EXPECT_TRUE(find.flags.contains(QStringLiteral("all")));
    const ToolOptions negative = parse({"display", "text", "-5"});
    EXPECT_EQ(negative.words.value(1), QStringLiteral("-5"));
}

TEST(ToolOptions, WrongCommandLinesFailWithWhatIsWrong) {
    struct Case {
        std::initializer_list<const char*> words;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"fly"}, "unknown command 'fly'"},
        {{"--all", "find"}, "unknown option --all"},
        {{"identify", "--all"}, "identify has no option --all"},
        {{"--baud", "9601", "identify"},
         "--baud '9601' is not one of the rates 300 600 1200 2400 4800 9600 19200 "
         "38400 57600 115200"},
        {{"--address", "256", "identify"}, "--address '256' is not an address 0 to 255"},
        {{"--address", "0x100", "identify"}, "--address '0x100' is not an address"},
        {{"--address", "-1", "identify"}, "--address '-1' is not an address"},
        {{"identify", "--port"}, "--port needs a value"},
        {{"identify", "--json=yes"}, "--json takes no value"},
        {{"--port", "/dev/x", "--simulator", "identify"}, "--port and --simulator both choose the port"},
        {{"--port", "/dev/x", "--simulator-echo", "identify"},
         "--simulator-echo and --simulator-turnaround need --simulator"},
        {{"--simulator", "--simulator-turnaround", "-1", "identify"},
         "--simulator-turnaround '-1' is not a number of milliseconds 0 to 60000"},
    };
    for (const Case& c : cases) {
        const ToolOptions o = parse(c.words);
        EXPECT_EQ(o.action, ToolOptions::Action::Fail) << c.message;
        EXPECT_TRUE(o.text.startsWith(QString::fromUtf8(c.message))) << o.text.toStdString();
    }
}

TEST(ToolOptions, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(parse({"--help"}).action, ToolOptions::Action::ShowHelp);
    EXPECT_EQ(parse({"identify", "--help"}).action, ToolOptions::Action::ShowHelp);
    const ToolOptions version = parse({"--version"});
    EXPECT_EQ(version.action, ToolOptions::Action::ShowVersion);
    EXPECT_TRUE(version.text.startsWith(QStringLiteral("tkm9214 "))) << version.text.toStdString();
}

} // namespace
