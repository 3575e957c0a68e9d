#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of tkm9214:
//   tkm9214 [--port PATH | --simulator] [--baud RATE] [--address N] [--checksum] [--rs485] [--json]
//           [--trace] COMMAND [WORDS...] [COMMAND OPTIONS...]
// The connection options may stand anywhere, also after the command; a command's own options only
// after it. "--" ends the options, so that a display text may start with "-". Values are checked
// here as far as they belong to the connection; each command checks its own words and options.
// Pure parsing, no application object needed; any thread.
class ToolOptions {
public:
    static constexpr const char* kProgram = "tkm9214";

    QString port;           // --port: the device path as given; empty when not given
    bool simulator = false; // --simulator: the built-in simulated terminal
    int baudRate = 9600;    // --baud
    bool baudGiven = false;
    int address = 1; // --address: 0..255
    bool checksum = false;
    bool rs485 = false; // --rs485: RS-485 direction control
    // --simulator-echo, --simulator-turnaround MS: how the built-in simulated terminal's line plays
    bool simulatorEcho = false;
    int simulatorTurnaroundMs = 0;
    bool json = false;
    bool trace = false;

    QString command;               // "identify", "display", ...
    QStringList words;             // what follows the command that is no option ("text", "HELLO", ...)
    QSet<QString> flags;           // the command's options without a value ("all", "verify", ...)
    QMap<QString, QString> values; // the command's options with a value ("row" -> "2", ...)

    enum class Action { Run, ShowHelp, ShowVersion, Fail };
    Action action = Action::Run;
    QString text; // help or version text, or what is wrong with the command line

    // arguments: the whole command line, program name first.
    static ToolOptions parse(const QStringList& arguments);

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
};
