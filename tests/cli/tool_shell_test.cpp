// tkm9214 in scripts and shells: failures a script can read, pipes and signals that end a command
// with its port released, traces that explain failures, time-outs and retries, narrow searches, the
// raw exchange, help, the environment.
#include "SimulatedTerminalFixture.h"

#include "cli/ToolOptions.h"

#include "seriallink/UucpLock.h"

#include "sim/LineFaults.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

class ToolShellTest : public SimulatedTerminalFixture {
public:
    // The lock file the tool takes for the test's port; empty where this user can take none.
    std::string lockFile() const {
        const QString folder = UucpLock::DefaultFolder();
        if (folder.isEmpty() || !QFileInfo(folder).isWritable())
            return {};
        const QString node = QFileInfo(QString::fromStdString(port)).canonicalFilePath();
        return (folder + u'/' + UucpLock::LockNameFor(node)).toStdString();
    }
    // Starts a watching command and waits until it has the port (its first exchange reached the terminal).
    std::unique_ptr<ToolProcess> watching(std::vector<std::string> arguments) {
        const std::uint64_t before = terminal->trace().total();
        auto process = std::make_unique<ToolProcess>(onPort(std::move(arguments)));
        // The first command and its answer: the port is open.
        EXPECT_TRUE(terminal->trace().waitForTotal(before + 2, std::chrono::seconds(20)));
        if (const std::string lock = lockFile(); !lock.empty()) {
            EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(lock))) << lock;
        }
        return process;
    }
    void expectPortReleased() {
        if (const std::string lock = lockFile(); !lock.empty()) {
            EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(lock))) << lock;
        }
        // Free for the next program.
        EXPECT_EQ(tool({"dio", "read"}).status, 0);
    }
};

QJsonObject error(const char* kind, const std::string& message, int exit) {
    return {{"error", QJsonObject{{"kind", kind}, {"message", QString::fromStdString(message)}}},
            {"exit", exit}};
}

TEST_F(ToolShellTest, FailuresPrintOneJsonObjectAndPrefixedMessages) {
    ToolProcess::Outcome outcome = tool({"--json", "display", "lamp", "3", "on"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(json(outcome.out), error("usage", "display lamp: the lamp must be 1 to 2, not '3'", 2));
    EXPECT_EQ(outcome.err, "tkm9214: display lamp: the lamp must be 1 to 2, not '3'\n");

    outcome = ToolProcess::run({"--json", "fly"});
    EXPECT_EQ(json(outcome.out), error("usage", "unknown command 'fly' (try --help)", 2));

    // An argument the shell passed in another encoding than UTF-8.
    outcome = tool({"--json", "display", "text", "caf\xE9"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(json(outcome.out), error("usage", "argument 'caf\\xE9': byte 0xE9 is not UTF-8", 2));
    EXPECT_EQ(outcome.err, "tkm9214: argument 'caf\\xE9': byte 0xE9 is not UTF-8\n");

    QTemporaryDir folder;
    const std::string missing = folder.filePath(QStringLiteral("missing.tkm")).toStdString();
    outcome = tool({"--json", "symbols", "write", missing});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(json(outcome.out).value("error").toObject().value("kind"), "file") << outcome.out;
    EXPECT_TRUE(received().empty());

    // Every line of a message that has several.
    tkm::sim::LineFaults truncated;
    truncated.truncateTo = 6;
    terminal->setFaults(truncated);
    outcome = tool({"--json", "identify"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(json(outcome.out).value("error").toObject().value("kind"), "refused") << outcome.out;
    for (const std::string& line : {outcome.err})
        EXPECT_EQ(line.rfind("tkm9214: ", 0), 0u) << line;
}

TEST_F(ToolShellTest, AFailedWriteToStandardOutputEndsTheCommand) {
    ToolProcess full(onPort({"--json", "identify"}), "/dev/full");
    const ToolProcess::Outcome outcome = full.finish();
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "tkm9214: cannot write to standard output: No space left on device\n");
    expectPortReleased();
}

TEST_F(ToolShellTest, AReaderThatGoesAwayEndsAWatchWithThePortReleased) {
    // keys --watch | head -1, with no key pressed: the closed pipe alone ends it.
    std::unique_ptr<ToolProcess> watch = watching({"keys", "--watch"});
    watch->closeOutput();
    const ToolProcess::Outcome outcome = watch->finish();
    EXPECT_EQ(outcome.status, 128 + SIGPIPE) << outcome.err;
    expectPortReleased();

    // A key reported into the closed pipe ends it as well.
    watch = watching({"keys", "--watch"});
    watch->closeOutput();
    terminal->model().pressKey(1);
    EXPECT_EQ(watch->finish().status, 128 + SIGPIPE);
}

TEST_F(ToolShellTest, SignalsReleaseThePortAndEndWith128PlusTheirNumber) {
    for (const int number : {SIGHUP, SIGTERM, SIGINT}) {
        std::unique_ptr<ToolProcess> keepalive = watching({"watchdog", "keepalive", "--json"});
        keepalive->signal(number);
        const ToolProcess::Outcome outcome = keepalive->finish();
        EXPECT_EQ(outcome.status, 128 + number) << outcome.err;
        EXPECT_TRUE(json(outcome.out).contains("keepalive")) << outcome.out;
        expectPortReleased();
        received();
    }
}

TEST_F(ToolShellTest, TheTraceShowsFailedExchangesWithWhatCameBack) {
    tkm::sim::LineFaults silent;
    silent.silence = true;
    terminal->setFaults(silent);
    ToolProcess::Outcome outcome = tool({"--trace", "--retries", "2", "dio", "read"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(withoutTimes(outcome.err),
              "1\t@01 --> (no reply)\n2\t@01 --> (no reply)\n3\t@01 --> (no reply)\n"
              "tkm9214: the terminal did not answer @01 (address 0x01, 9600 baud, "
              "checksum off)\n");
    EXPECT_EQ(received().size(), 3u);

    terminal->setFaults({});
    outcome = tool({"--trace", "--checksum", "identify"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(matches(outcome.err, "^1\t\\$01MD2 --> \\?01  \\([0-9]+ ms\\)\n")) << outcome.err;

    tkm::sim::LineFaults garbage;
    garbage.garbage = "\x01";
    terminal->setFaults(garbage);
    outcome = tool({"--trace", "dio", "read"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(withoutTimes(outcome.err),
              "1\t@01 --> \\x01>00\ntkm9214: the terminal did not answer @01 as expected: "
              "it replied \\x01>00 (address 0x01, 9600 baud, checksum off)\n");
}

TEST_F(ToolShellTest, RetriesAndTimeOutCarryExchangesOverASlowOrLossyLine) {
    terminal->setTurnaround(std::chrono::milliseconds(200)); // past the reply wait at 9600 baud
    EXPECT_EQ(tool({"dio", "read"}).status, 1);
    received();
    ToolProcess::Outcome outcome = tool({"--timeout", "5000", "dio", "read"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(received().size(), 1u);
    terminal->setTurnaround(std::chrono::milliseconds(0));

    // A retry after a refusal gets the same answer; each attempt is sent.
    outcome = tool({"--checksum", "--retries", "1", "dio", "read"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(received().size(), 2u);
}

TEST_F(ToolShellTest, FindIsNarrowedByItsHints) {
    tkm::sim::TerminalSettings settings;
    settings.address = 7;
    settings.baudCode = 8; // 38400
    startTerminal(settings);
    ToolProcess::Outcome outcome = tool({"--address", "7", "--baud", "38400", "find", "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(received().size(), 1u);
    EXPECT_EQ(json(outcome.out),
              json(R"({"found":[{"address":7,"baud":38400,"checksum":false}],"complete":true})"));

    outcome = tool({"find", "--addresses", "5-8", "--bauds", "19200,38400"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "found: address 0x07, 38400 baud, checksum off\n");
    // The faster rate first, as without the list.
    EXPECT_EQ(received().size(), 3u);

    outcome = tool({"find", "--addresses", "1-3", "--bauds", "38400", "--json"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(json(outcome.out), json(R"({"found":[],"complete":true})"));
    EXPECT_EQ(received().size(), 6u);

    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"find", "--addresses", "9-3"},
                                                  {"find", "--bauds", "9601"},
                                                  {"--address", "3", "find", "--addresses", "1-4"}}) {
        EXPECT_EQ(tool(wrong).status, 2);
    }
    EXPECT_TRUE(received().empty());
}

TEST_F(ToolShellTest, SendExchangesOneFrameAsGiven) {
    ToolProcess::Outcome outcome = tool({"send", "$01M"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "!01TKM-9214\n");
    outcome = tool({"--json", "send", "@01"});
    EXPECT_EQ(json(outcome.out), json(R"({"frame":"@01","reply":">00","payload":"00"})"));
    EXPECT_EQ(received(), (std::vector<std::string>{"$01M", "@01"}));

    // A refusal is the terminal's answer and printed as such.
    outcome = tool({"send", "$01Q"});
    EXPECT_EQ(outcome.out, "?01\n");

    EXPECT_EQ(tool({"send", "01M"}).status, 2);
    received();
    tkm::sim::LineFaults silent;
    silent.silence = true;
    terminal->setFaults(silent);
    outcome = tool({"--json", "--retries", "1", "send", "$01M"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(json(outcome.out).value("error").toObject().value("kind"), "no-answer");
    EXPECT_EQ(received(), (std::vector<std::string>{"$01M", "$01M"}));
}

TEST_F(ToolShellTest, WatchesEndAfterACountOrADuration) {
    terminal->model().pressKey(1);
    ToolProcess::Outcome outcome = tool({"keys", "--watch", "--count", "1"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "F1\n");
    received();
    // The host-alive message gets no answer and is never retried.
    outcome = tool({"--retries", "2", "watchdog", "keepalive", "--count", "2", "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out).value("keepalive").toInt(), 2);
    EXPECT_EQ(received(), (std::vector<std::string>{"~012", "~**", "~**"}));
    outcome = tool({"keys", "--watch", "--duration", "0.1"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(tool({"keys", "--count", "1"}).status, 2);
}

TEST_F(ToolShellTest, QuietLeavesOutConfirmationsOnly) {
    EXPECT_EQ(tool({"--quiet", "display", "lamp", "1", "on"}).out, "");
    EXPECT_EQ(tool({"--quiet", "dio", "read"}).out, "00\n");
    EXPECT_EQ(json(tool({"--quiet", "--json", "display", "clear"}).out), json(R"({"cleared":true})"));
}

TEST_F(ToolShellTest, SymbolsOnASilentLineStopAtTheFirstThatGotNoAnswer) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("s.tkm"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[UserSymbols]\n0=1F1F1F1F1F1F1F1F\n");
    file.close();
    tkm::sim::LineFaults silent;
    silent.silence = true;
    terminal->setFaults(silent);
    const ToolProcess::Outcome outcome = tool({"--json", "symbols", "write", path.toStdString()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(json(outcome.out), json(R"({"written":[],"failed":[0],"not_sent":[1,2,3,4,5,6,7]})"));
    EXPECT_EQ(received().size(), 1u);
}

TEST_F(ToolShellTest, DioWriteNamesTheInputsItDidNotDrive) {
    ASSERT_EQ(terminal->model().receiveFrame("$01D90").reply.value_or("?").front(), '!');
    const ToolProcess::Outcome outcome = tool({"--json", "dio", "write", "FF"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out), json(R"({"lines":"FF","inputs":[0,3]})"));
    EXPECT_EQ(outcome.err, "tkm9214: dio write: lines 0, 3 are inputs and so not driven\n");
}

TEST_F(ToolShellTest, AProgramHoldingThePortWithoutALockIsReportedOnce) {
    // Another program with the port open on its standard input, as a terminal program that takes no
    // lock has it (the test itself holds the line's other end, which does not count).
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, port.c_str(), O_RDWR | O_NOCTTY, 0);
    pid_t holder = -1;
    char sleepName[] = "sleep";
    char seconds[] = "60";
    char* argv[] = {sleepName, seconds, nullptr};
    ASSERT_EQ(::posix_spawnp(&holder, "sleep", &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Until the holder has the port open: its standard input is the port.
    const std::string in = "/proc/" + std::to_string(holder) + "/fd/0";
    const auto giveUp = std::chrono::steady_clock::now() + ToolProcess::kSafety;
    while (QFileInfo(QString::fromStdString(in)).canonicalFilePath() !=
               QFileInfo(QString::fromStdString(port)).canonicalFilePath() &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::yield();
    }
    const ToolProcess::Outcome outcome = tool({"identify"});
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string warning = "which took no lock";
    const std::size_t first = outcome.err.find(warning);
    EXPECT_NE(first, std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find(warning, first + 1), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.rfind("tkm9214: ", 0), 0u) << outcome.err;
}

TEST_F(ToolShellTest, TheEnvironmentGivesWhatTheOptionsDoNot) {
    ToolProcess fromEnvironment({"dio", "read"}, {}, {"TKM9214_PORT=" + port});
    EXPECT_EQ(fromEnvironment.finish().out, "00\n");
    ToolProcess wrongAddress({"--json", "dio", "read"}, {},
                             {"TKM9214_PORT=" + port, "TKM9214_ADDRESS=2", "TKM9214_BAUD=9600"});
    EXPECT_EQ(wrongAddress.finish().status, 1);
    ToolProcess optionsWin({"-a", "1", "dio", "read"}, {}, {"TKM9214_PORT=" + port, "TKM9214_ADDRESS=2"});
    EXPECT_EQ(optionsWin.finish().out, "00\n");
    EXPECT_EQ(received(), (std::vector<std::string>{"@01", "@02", "@01"}));
}

// The parser itself: short options, help for a command, the environment's names in messages.
ToolOptions parse(std::initializer_list<const char*> words,
                  const ToolOptions::Environment& environment = {}) {
    QStringList arguments{QStringLiteral("tkm9214")};
    for (const char* w : words)
        arguments << QString::fromUtf8(w);
    return ToolOptions::parse(arguments, environment);
}

TEST(ToolHelp, ShortOptionsHelpPerCommandAndTheEnvironment) {
    const ToolOptions shortForms = parse({"-p", "/dev/ttyUSB0", "-b", "19200", "-a", "0x10", "identify"});
    EXPECT_EQ(shortForms.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(shortForms.baudRate, 19200);
    EXPECT_EQ(shortForms.address, 16);
    EXPECT_EQ(parse({"-V"}).action, ToolOptions::Action::ShowVersion);
    // What the window's About page says ("Ver.1.1").
    EXPECT_EQ(parse({"-V"}).text, QStringLiteral("tkm9214 1.1\n"));
    EXPECT_EQ(parse({"-h"}).text, ToolOptions::usage());

    for (const QString& name : ToolOptions::commandNames()) {
        const ToolOptions help = parse({"help", name.toUtf8().constData()});
        EXPECT_EQ(help.action, ToolOptions::Action::ShowHelp);
        EXPECT_TRUE(help.text.startsWith(QStringLiteral("Usage: tkm9214 [OPTIONS] ") + name))
            << help.text.toStdString();
        EXPECT_EQ(parse({name.toUtf8().constData(), "--help"}).text, help.text);
        EXPECT_TRUE(ToolOptions::usage().contains(QStringLiteral("\n  ") + name)) << name.toStdString();
    }
    EXPECT_EQ(parse({"help", "fly"}).text, QStringLiteral("help: unknown command 'fly'"));
    const QString usage = ToolOptions::usage();
    for (const char* option : {"--timeout MS", "--retries N", "--quiet", "--rs485", "TKM9214_PORT"})
        EXPECT_TRUE(usage.contains(QLatin1StringView(option))) << option;

    ToolOptions::Environment environment{QStringLiteral("/dev/ttyS0"), QStringLiteral("4800"),
                                         QStringLiteral("7")};
    const ToolOptions fromEnvironment = parse({"identify"}, environment);
    EXPECT_EQ(fromEnvironment.port, QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(fromEnvironment.baudRate, 4800);
    EXPECT_EQ(fromEnvironment.address, 7);
    EXPECT_TRUE(parse({"--simulator", "identify"}, environment).port.isEmpty());
    environment.baud = QStringLiteral("fast");
    EXPECT_TRUE(
        parse({"identify"}, environment).text.startsWith(QStringLiteral("TKM9214_BAUD 'fast' is not")));
    EXPECT_EQ(parse({"--baud", "300", "identify"}, environment).baudRate, 300);

    EXPECT_EQ(*parse({"--timeout", "1500", "--retries", "3", "identify"}).timeoutMs, 1500);
    EXPECT_EQ(parse({"--retries", "11", "identify"}).action, ToolOptions::Action::Fail);
    EXPECT_EQ(parse({"--timeout", "0", "identify"}).action, ToolOptions::Action::Fail);
    // A failure still knows that JSON was asked for.
    EXPECT_TRUE(parse({"--json", "fly"}).json);
    EXPECT_FALSE(parse({"display", "text", "--", "--json"}).json);
}

} // namespace
