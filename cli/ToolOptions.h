#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of tkm9214:
//   tkm9214 [--port PATH | --simulator] [--baud RATE] [--address N] [--checksum] [--rs485] [--json]
//           [--trace] [--quiet] [--timeout MS] [--retries N] COMMAND [WORDS...] [COMMAND OPTIONS...]
// The connection options may stand anywhere, also after the command; a command's own options only
// after it. -h, -V, -p, -b and -a are short for --help, --version, --port, --baud and --address.
// "--" ends the options, so that a display text may start with "-". The port, rate and address may
// come from the environment (TKM9214_PORT, TKM9214_BAUD, TKM9214_ADDRESS); options win. Values are
// checked here as far as they belong to the connection; each command checks its own words and
// options. Pure parsing, no application object needed; any thread.
class ToolOptions {
public:
    static constexpr const char* kProgram = "tkm9214";

    QString port;           // --port: the device path as given; empty when not given
    bool simulator = false; // --simulator: the built-in simulated terminal
    int baudRate = 9600;    // --baud
    bool baudGiven = false;
    int address = 1; // --address: 0..255
    bool addressGiven = false;
    bool checksum = false;
    bool rs485 = false; // --rs485: RS-485 direction control
    // --simulator-echo, --simulator-turnaround MS: how the built-in simulated terminal's line plays
    bool simulatorEcho = false;
    int simulatorTurnaroundMs = 0;
    bool json = false;
    bool trace = false;
    bool quiet = false;           // --quiet: no confirmations from commands that only act
    std::optional<int> timeoutMs; // --timeout MS: the reply wait of every exchange
    int retries = 0;              // --retries N: a failed exchange is tried up to N times more
    static constexpr int kMaxTimeoutMs = 60000;
    static constexpr int kMaxRetries = 10;

    QString command;               // "identify", "display", ...
    QStringList words;             // what follows the command that is no option ("text", "HELLO", ...)
    QSet<QString> flags;           // the command's options without a value ("all", "verify", ...)
    QMap<QString, QString> values; // the command's options with a value ("row" -> "2", ...)

    enum class Action { Run, ShowHelp, ShowVersion, Fail };
    Action action = Action::Run;
    QString text; // help or version text, or what is wrong with the command line

    // What the environment may give: TKM9214_PORT, TKM9214_BAUD, TKM9214_ADDRESS (empty: not given).
    struct Environment {
        QString port;
        QString baud;
        QString address;
        static Environment fromProcess();
    };

    // arguments: the whole command line, program name first. With a Fail, json still tells whether
    // --json was asked for, so that the failure can be reported as JSON.
    static ToolOptions parse(const QStringList& arguments, const Environment& environment = {});

    // The baud-rate list index of a rate, or nothing when the list has no such rate.
    static std::optional<int> baudIndexOf(int rate);
    // The rate of a baud-rate list index 0..9.
    static int rateOfIndex(int index);
    // Decimal 0..255 or 0xNN; nothing otherwise.
    static std::optional<int> parseAddress(const QString& text);
    // A rate of the baud-rate list, as decimal digits; nothing otherwise.
    static std::optional<int> parseBaudRate(const QString& text);
    // "r1 r2 ...": the rates of the list.
    static QString rateList();

    static QString usage();
    // The usage of one command ("tkm9214 help find", "tkm9214 find --help"); empty for no command.
    static QString commandUsage(const QString& command);
    // The commands, in the order of the usage.
    static QStringList commandNames();
};
