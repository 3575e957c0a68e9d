// The utility's command line: parsed values, refused values with their messages, and the program
// itself answering --help, --version and bad values before it needs a display.
#include "app/StartOptions.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

namespace {

StartOptions parse(const QStringList& options) {
    return StartOptions::parse(QStringList{QStringLiteral("tkm9214-utility")} + options);
}

// A pseudo-terminal slave: a serial device no sysfs lists.
class Pty {
public:
    Pty() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0)
            path_ = QString::fromLocal8Bit(name);
    }
    ~Pty() {
        ::close(slave_);
        ::close(master_);
    }
    QString path() const { return path_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

TEST(StartOptions, NoOptionsStartAsBuilt) {
    const StartOptions outcome = parse({});
    ASSERT_EQ(outcome.action, StartOptions::Action::Start);
    EXPECT_EQ(outcome.exitCode(), 0);
    const StartOptions& o = outcome;
    EXPECT_TRUE(o.port.isEmpty());
    EXPECT_FALSE(o.simulator || o.checksum || o.open || o.choosesPort());
    EXPECT_FALSE(o.baudRate);
    EXPECT_FALSE(o.address);
}

TEST(StartOptions, AcceptedValues) {
    struct Case {
        QStringList arguments;
        std::optional<int> baudRate;
        std::optional<int> address;
    };
    const Case cases[] = {
        {{"--baud", "9600"}, 9600, {}},
        {{"--baud=300"}, 300, {}},
        {{"--baud", "115200"}, 115200, {}},
        {{"--address", "0"}, {}, 0},
        {{"--address", "10"}, {}, 10},
        {{"--address", "255"}, {}, 255},
        {{"--address", "007"}, {}, 7},
        {{"--address", "0x0A"}, {}, 10},
        {{"--address=0xff"}, {}, 255},
        {{"--address", "0X1"}, {}, 1},
        {{"--baud", "19200", "--address", "0x10", "--baud", "2400"}, 2400, 16}, // the last one counts
    };
    for (const Case& c : cases) {
        const StartOptions outcome = parse(c.arguments);
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        ASSERT_EQ(outcome.action, StartOptions::Action::Start) << outcome.text.toStdString();
        EXPECT_EQ(outcome.baudRate, c.baudRate);
        EXPECT_EQ(outcome.address, c.address);
    }
}

TEST(StartOptions, FlagsAndQtOwnOptions) {
    const StartOptions outcome =
        parse({"--checksum", "--open", "--simulator", "-platform", "offscreen", "--style=Fusion", "-reverse",
               "--rs485", "--simulator-echo", "--simulator-turnaround", "40"});
    ASSERT_EQ(outcome.action, StartOptions::Action::Start) << outcome.text.toStdString();
    EXPECT_TRUE(outcome.rs485 && outcome.simulatorEcho);
    EXPECT_EQ(outcome.simulatorTurnaroundMs, 40);
    EXPECT_TRUE(outcome.checksum);
    EXPECT_TRUE(outcome.open);
    EXPECT_TRUE(outcome.simulator);
    EXPECT_TRUE(outcome.choosesPort());
}

// Pseudo-terminals and links to them are ports too; a relative path is taken from where we start.
TEST(StartOptions, PortPathsNoSysfsLists) {
    Pty pty;
    ASSERT_FALSE(pty.path().isEmpty());
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyV0"));
    ASSERT_TRUE(QFile::link(pty.path(), link));

    EXPECT_EQ(parse({"--port", pty.path()}).port, pty.path());
    EXPECT_EQ(parse({"--port", link}).port, link); // the link as given, not its target
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const StartOptions relative = parse({"--port=ttyV0"});
    QDir::setCurrent(here);
    EXPECT_EQ(relative.port, link);
}

TEST(StartOptions, RefusedValuesSayWhatIsWrong) {
    QTemporaryDir dir;
    const QString plainFile = dir.filePath(QStringLiteral("plain"));
    QFile(plainFile).open(QIODevice::WriteOnly);
    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{"--baud", "1234"},
         "--baud '1234' is not one of the rates 300 600 1200 2400 4800 9600 19200 38400 "
         "57600 115200"},
        {{"--baud", "+9600"}, "--baud '+9600' is not one of the rates"},
        {{"--baud", " 9600"}, "--baud ' 9600' is not one of the rates"},
        {{"--baud", "9600baud"}, "--baud '9600baud' is not one of the rates"},
        {{"--baud"}, "Missing value after '--baud'."},
        {{"--address", "256"},
         "--address '256' is not an address 0 to 255 (decimal, or hexadecimal as 0xNN)"},
        {{"--address", "-1"}, "--address '-1' is not an address"},
        {{"--address", "0x100"}, "--address '0x100' is not an address"},
        {{"--address", "0x"}, "--address '0x' is not an address"},
        {{"--address", "1A"}, "--address '1A' is not an address"},
        {{"--address", "0x+1"}, "--address '0x+1' is not an address"},
        {{"--address", ""}, "--address '' is not an address"},
        {{"--port", "/nonexistent/ttyUSB9"}, "--port /nonexistent/ttyUSB9: No such file or directory"},
        {{"--port", plainFile}, "--port " + plainFile + ": not a serial device"},
        {{"--port", ""}, "--port needs a device path"},
        {{"--port", "/dev/null", "--simulator"},
         "--port and --simulator both choose the port; give one of them"},
        {{"--simulator-turnaround", "soon"},
         "--simulator-turnaround 'soon' is not a number of milliseconds 0 to 60000"},
        {{"--bogus"}, "Unknown option 'bogus'."},
        {{"-p", "/dev/null"}, "Unknown option 'p'."},
        {{"/dev/ttyUSB0"}, "unexpected argument '/dev/ttyUSB0'"},
    };
    for (const Case& c : cases) {
        const StartOptions outcome = parse(c.arguments);
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(outcome.action, StartOptions::Action::Fail);
        EXPECT_EQ(outcome.exitCode(), 2);
        EXPECT_TRUE(outcome.text.startsWith(QStringLiteral("tkm9214-utility: ") + c.message))
            << outcome.text.toStdString();
        EXPECT_TRUE(outcome.text.endsWith(QStringLiteral(" (try --help)\n"))) << outcome.text.toStdString();
    }
}

TEST(StartOptions, HelpAndVersion) {
    for (const char* help : {"--help", "-h", "-?"}) {
        const StartOptions outcome = parse({QString::fromLatin1(help), "--baud", "7"});
        ASSERT_EQ(outcome.action, StartOptions::Action::ShowHelp) << help;
        EXPECT_EQ(outcome.exitCode(), 0);
        EXPECT_TRUE(
            outcome.text.startsWith(QStringLiteral("Usage: tkm9214-utility [--port PATH | --simulator]")));
        for (const char* option : {"--port <PATH>", "--simulator", "--baud <RATE>", "--address <N>",
                                   "--checksum", "--open", "--version"})
            EXPECT_TRUE(outcome.text.contains(QString::fromLatin1(option))) << option;
        EXPECT_FALSE(outcome.text.contains(QStringLiteral("platform"))); // Qt's options stay Qt's
    }
    for (const char* version : {"--version", "-v"}) {
        const StartOptions outcome = parse({QString::fromLatin1(version)});
        ASSERT_EQ(outcome.action, StartOptions::Action::ShowVersion);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^tkm9214-utility \\d+\\.\\d+(\\.\\d+)*\\n$"))
                        .match(outcome.text)
                        .hasMatch())
            << outcome.text.toStdString();
    }
}

// The program itself, with a window system it cannot reach: the answers come before Qt would need it.
TEST(StartOptions, ProgramAnswersBeforeAnyWindow) {
    struct Case {
        QStringList arguments;
        int exitCode;
        bool onStdout; // else on stderr; the other stream stays empty
        const char* text;
    };
    const Case cases[] = {
        {{"--address", "0x1G"}, 2, false, "tkm9214-utility: --address '0x1G' is not an address"},
        {{"--port", "/nonexistent"},
         2,
         false,
         "tkm9214-utility: --port /nonexistent: No such file or directory"},
        {{"--help"}, 0, true, "Usage: tkm9214-utility"},
        {{"--version"}, 0, true, "tkm9214-utility "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TKM_UTILITY_PROGRAM), c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        const QString& written = c.onStdout ? out : err;
        const QString& silent = c.onStdout ? err : out;
        EXPECT_TRUE(written.startsWith(QString::fromLatin1(c.text))) << written.toStdString();
        EXPECT_TRUE(silent.isEmpty()) << silent.toStdString();
    }
}

} // namespace
