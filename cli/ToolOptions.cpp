#include "cli/ToolOptions.h"

#include "protocol/ConnectionArguments.h"

#include "sim/PtyLine.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace proto = tkm::protocol;

namespace {

struct OptionSpec {
    const char* name;
    bool takesValue;
};

// The connection options, valid anywhere on the line.
constexpr OptionSpec kConnectionOptions[] = {
    {"port", true},    {"simulator", false},      {"baud", true},
    {"address", true}, {"checksum", false},       {"json", false},
    {"trace", false},  {"help", false},           {"version", false},
    {"rs485", false},  {"simulator-echo", false}, {"simulator-turnaround", true},
    {"quiet", false},  {"timeout", true},         {"retries", true},
};

// The short forms shells expect.
constexpr std::pair<char, const char*> kShortOptions[] = {
    {'h', "help"}, {'V', "version"}, {'p', "port"}, {'b', "baud"}, {'a', "address"},
};

struct CommandSpec {
    const char* name;
    std::vector<OptionSpec> options;
    const char* synopsis; // the command's lines of the usage, each indented by two
    const char* details;  // more for its own help
};

const CommandSpec kCommands[] = {
    {"ports", {}, "ports                                the serial ports, with their USB descriptions\n", ""},
    {"identify",
     {},
     "identify                             name, firmware, configuration, lines and watchdog\n",
     "Changes nothing on the terminal.\n"},
    {"find",
     {{"all", false}, {"addresses", true}, {"bauds", true}},
     "find [--all] [--addresses A-B] [--bauds LIST]\n"
     "                                     look for terminals over addresses, checksum modes and rates\n",
     "Tries the given --baud and --checksum first, then the others; --address searches that address\n"
     "only, --addresses A-B (such as 1-10) a range, --bauds LIST (such as 9600,19200) those rates only.\n"
     "With every hint given, one probe. --all goes on after the first terminal found. Interrupted, it\n"
     "prints what it found so far (JSON: \"complete\": false) and ends with 130.\n"},
    {"configure",
     {{"new-address", true},
      {"new-baud", true},
      {"code-page", true},
      {"new-checksum", true},
      {"yes", false},
      {"verify", false}},
     "configure [--new-address N] [--new-baud RATE] [--code-page cp866|win1251|koi8r]\n"
     "          [--new-checksum on|off] [--yes] [--verify]\n",
     "A new baud rate or checksum mode needs the power cycle with the init pin: the steps are shown\n"
     "and Enter awaited (--yes: the terminal is in init mode already).\n"},
    {"display",
     {{"row", true},
      {"column", true},
      {"blink", false},
      {"static", false},
      {"enabled", false},
      {"eeprom", false}},
     "display text TEXT [--row R --column C] | clear | cursor R C | lamp 1|2 on|off\n"
     "display settings [--blink] [--static] [--enabled] [--eeprom]\n",
     ""},
    {"keys",
     {{"watch", false}, {"count", true}, {"duration", true}},
     "keys [--watch [--count N] [--duration S]]\n"
     "                                     the pressed keys, once or until interrupted\n",
     "--count N ends the watch after N reports of keys, --duration S after S seconds.\n"},
    {"dio",
     {},
     "dio read | write HH | directions HH | save-power-on | save-safe\n",
     "Line k is bit 7-k; in the direction byte a set bit is an input, which a write does not drive.\n"},
    {"symbols",
     {{"index", true}},
     "symbols write FILE.tkm [--index N]   user symbols from a .tkm file\n",
     "Stops at the first symbol the terminal does not answer.\n"},
    {"watchdog",
     {{"period", true}, {"count", true}, {"duration", true}},
     "watchdog read | set on|off [--period SECONDS] | status | reset\n"
     "watchdog keepalive [--count N] [--duration S]\n",
     "keepalive sends the host-alive message until interrupted, N times or for S seconds.\n"},
    {"save", {}, "save FILE.tkm                        the terminal's settings into a .tkm file\n", ""},
    {"apply",
     {{"yes", false}, {"verify", false}},
     "apply FILE.tkm [--yes] [--verify]    a .tkm file's settings and user symbols into the terminal\n",
     ""},
    {"send",
     {},
     "send FRAME                           one frame as given; prints the reply's raw text\n",
     "The checksum is added in checksum mode, and the carriage return always. The reply must start\n"
     "with \"!\", \">\" or \"?\" and the frame's address. JSON: frame, reply, payload.\n"},
    {"help", {}, "help [COMMAND]                       this text, or a command's\n", ""},
};

const OptionSpec* findOption(std::span<const OptionSpec> options, const QString& name) {
    for (const OptionSpec& option : options) {
        if (name == QLatin1StringView(option.name))
            return &option;
    }
    return nullptr;
}

const CommandSpec* findCommand(const QString& name) {
    for (const CommandSpec& command : kCommands) {
        if (name == QLatin1StringView(command.name))
            return &command;
    }
    return nullptr;
}

ToolOptions fail(const QString& message) {
    ToolOptions outcome;
    outcome.action = ToolOptions::Action::Fail;
    outcome.text = message;
    return outcome;
}

QString quoted(const QString& text) {
    return u'\'' + text + u'\'';
}

} // namespace

std::optional<int> ToolOptions::baudIndexOf(int rate) {
    return proto::BaudIndexOf(rate);
}

int ToolOptions::rateOfIndex(int index) {
    return proto::kBaudRates.at(static_cast<std::size_t>(index));
}

std::optional<int> ToolOptions::parseAddress(const QString& text) {
    return proto::ParseAddressArgument(text.toStdString());
}

std::optional<int> ToolOptions::parseBaudRate(const QString& text) {
    return proto::ParseBaudRateArgument(text.toStdString());
}

QString ToolOptions::rateList() {
    return QString::fromStdString(proto::BaudRateList());
}

ToolOptions::Environment ToolOptions::Environment::fromProcess() {
    return {qEnvironmentVariable("TKM9214_PORT"), qEnvironmentVariable("TKM9214_BAUD"),
            qEnvironmentVariable("TKM9214_ADDRESS")};
}

namespace {

// A number low..high in decimal digits only.
std::optional<int> plainNumber(const QString& text, int low, int high) {
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

ToolOptions parseLine(const QStringList& arguments, const ToolOptions::Environment& environment) {
    using Action = ToolOptions::Action;
    ToolOptions o;
    QMap<QString, QString> connection;
    QSet<QString> connectionFlags;
    const CommandSpec* command = nullptr;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (!optionsEnded && argument.size() == 2 && argument[0] == u'-') {
            for (const auto& [letter, name] : kShortOptions) {
                if (argument[1] == QLatin1Char(letter))
                    argument = QStringLiteral("--") + QLatin1StringView(name);
            }
        }
        if (optionsEnded || !argument.startsWith(QLatin1StringView("--")) ||
            argument == QLatin1StringView("-")) {
            if (!command) {
                command = findCommand(argument);
                if (!command)
                    return fail(QStringLiteral("unknown command ") + quoted(argument));
                o.command = argument;
            } else {
                o.words << argument;
            }
            continue;
        }
        if (argument == QLatin1StringView("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = argument.mid(2);
        std::optional<QString> value;
        if (const qsizetype equals = name.indexOf(u'='); equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        const OptionSpec* known = findOption(kConnectionOptions, name);
        const bool ofConnection = known != nullptr;
        if (!known && command)
            known = findOption(command->options, name);
        if (!known) {
            return fail(command ? QStringLiteral("%1 has no option --%2").arg(o.command, name)
                                : QStringLiteral("unknown option --%1").arg(name));
        }
        if (known->takesValue && !value) {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("--%1 needs a value").arg(name));
            value = arguments[++i];
        }
        if (!known->takesValue && value)
            return fail(QStringLiteral("--%1 takes no value").arg(name));
        if (ofConnection) {
            if (value)
                connection.insert(name, *value);
            else
                connectionFlags.insert(name);
        } else if (value) {
            o.values.insert(name, *value);
        } else {
            o.flags.insert(name);
        }
    }

    if (connectionFlags.contains(QStringLiteral("help"))) {
        o.action = Action::ShowHelp;
        o.text = command ? ToolOptions::commandUsage(o.command) : ToolOptions::usage();
        return o;
    }
    if (connectionFlags.contains(QStringLiteral("version"))) {
        o.action = Action::ShowVersion;
        o.text = QString::fromLatin1(ToolOptions::kProgram) + u' ' + QStringLiteral(TKM_VERSION) + u'\n';
        return o;
    }
    if (!command)
        return fail(QStringLiteral("no command given"));
    if (o.command == QLatin1StringView("help")) {
        if (o.words.size() > 1)
            return fail(QStringLiteral("help: unexpected ") + quoted(o.words[1]));
        if (o.words.isEmpty()) {
            o.text = ToolOptions::usage();
        } else {
            o.text = ToolOptions::commandUsage(o.words[0]);
            if (o.text.isEmpty())
                return fail(QStringLiteral("help: unknown command ") + quoted(o.words[0]));
        }
        o.action = Action::ShowHelp;
        return o;
    }

    o.simulator = connectionFlags.contains(QStringLiteral("simulator"));
    o.checksum = connectionFlags.contains(QStringLiteral("checksum"));
    o.json = connectionFlags.contains(QStringLiteral("json"));
    o.trace = connectionFlags.contains(QStringLiteral("trace"));
    o.quiet = connectionFlags.contains(QStringLiteral("quiet"));
    o.rs485 = connectionFlags.contains(QStringLiteral("rs485"));
    o.simulatorEcho = connectionFlags.contains(QStringLiteral("simulator-echo"));
    if (connection.contains(QStringLiteral("simulator-turnaround"))) {
        const QString text = connection.value(QStringLiteral("simulator-turnaround"));
        bool ok = false;
        o.simulatorTurnaroundMs = text.toInt(&ok);
        if (!ok || o.simulatorTurnaroundMs < 0 ||
            o.simulatorTurnaroundMs > tkm::sim::PtyLine::kMaxTurnaround.count())
            return fail(QStringLiteral("--simulator-turnaround %1 is not a number of milliseconds 0 to %2")
                            .arg(quoted(text))
                            .arg(tkm::sim::PtyLine::kMaxTurnaround.count()));
    }
    if ((o.simulatorEcho || connection.contains(QStringLiteral("simulator-turnaround"))) && !o.simulator)
        return fail(QStringLiteral("--simulator-echo and --simulator-turnaround need --simulator"));
    if (connection.contains(QStringLiteral("timeout"))) {
        const QString text = connection.value(QStringLiteral("timeout"));
        o.timeoutMs = plainNumber(text, 1, ToolOptions::kMaxTimeoutMs);
        if (!o.timeoutMs)
            return fail(QStringLiteral("--timeout %1 is not a number of milliseconds 1 to %2")
                            .arg(quoted(text))
                            .arg(ToolOptions::kMaxTimeoutMs));
    }
    if (connection.contains(QStringLiteral("retries"))) {
        const QString text = connection.value(QStringLiteral("retries"));
        const std::optional<int> retries = plainNumber(text, 0, ToolOptions::kMaxRetries);
        if (!retries)
            return fail(QStringLiteral("--retries %1 is not a number 0 to %2")
                            .arg(quoted(text))
                            .arg(ToolOptions::kMaxRetries));
        o.retries = *retries;
    }

    // The environment gives what the options do not; its own name goes into the message.
    auto setting = [&](const char* option, const char* variable,
                       const QString& fromEnvironment) -> std::optional<std::pair<QString, QString>> {
        if (connection.contains(QLatin1StringView(option)))
            return std::pair{QStringLiteral("--") + QLatin1StringView(option),
                             connection.value(QLatin1StringView(option))};
        if (!fromEnvironment.isEmpty())
            return std::pair{QString::fromLatin1(variable), fromEnvironment};
        return std::nullopt;
    };
    if (connection.contains(QStringLiteral("port"))) {
        o.port = connection.value(QStringLiteral("port"));
        if (o.port.isEmpty())
            return fail(QStringLiteral("--port needs a device path"));
    }
    if (o.simulator && !o.port.isEmpty())
        return fail(QStringLiteral("--port and --simulator both choose the port; give one of them"));
    if (o.port.isEmpty() && !o.simulator)
        o.port = environment.port;
    if (const auto baud = setting("baud", "TKM9214_BAUD", environment.baud)) {
        const std::optional<int> rate = ToolOptions::parseBaudRate(baud->second);
        if (!rate)
            return fail(QStringLiteral("%1 %2 is not one of the rates %3")
                            .arg(baud->first, quoted(baud->second), ToolOptions::rateList()));
        o.baudRate = *rate;
        o.baudGiven = true;
    }
    if (const auto address = setting("address", "TKM9214_ADDRESS", environment.address)) {
        const std::optional<int> parsed = ToolOptions::parseAddress(address->second);
        if (!parsed)
            return fail(QStringLiteral("%1 %2 is not an address 0 to 255 (decimal, or hexadecimal as 0xNN)")
                            .arg(address->first, quoted(address->second)));
        o.address = *parsed;
        o.addressGiven = true;
    }
    return o;
}

} // namespace

ToolOptions ToolOptions::parse(const QStringList& arguments, const Environment& environment) {
    ToolOptions o = parseLine(arguments, environment);
    if (o.action == Action::Fail) {
        const qsizetype end = arguments.indexOf(QStringLiteral("--"));
        const qsizetype json = arguments.indexOf(QStringLiteral("--json"));
        o.json = json > 0 && (end < 0 || json < end);
    }
    return o;
}

QStringList ToolOptions::commandNames() {
    QStringList names;
    for (const CommandSpec& command : kCommands)
        names << QString::fromLatin1(command.name);
    return names;
}

QString ToolOptions::commandUsage(const QString& name) {
    const CommandSpec* command = findCommand(name);
    if (!command)
        return {};
    QString text;
    const QStringList lines = QString::fromLatin1(command->synopsis).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        // The description that follows a synopsis in the list goes below it here.
        const qsizetype gap = line.startsWith(u' ') ? 0 : line.indexOf(QStringLiteral("   "));
        const QString synopsis = gap >= 0 ? line.left(gap) : line;
        const QString description = gap >= 0 ? line.mid(gap).trimmed() : QString();
        if (!synopsis.trimmed().isEmpty())
            text += (text.isEmpty() ? QStringLiteral("Usage: tkm9214 [OPTIONS] ")
                                    : QStringLiteral("       tkm9214 [OPTIONS] ")) +
                    synopsis.trimmed() + u'\n';
        if (!description.isEmpty())
            text += QStringLiteral("\n") + description.left(1).toUpper() + description.mid(1) + u'.' + u'\n';
    }
    if (*command->details)
        text += u'\n' + QString::fromLatin1(command->details);
    text += QStringLiteral("\nOPTIONS are the connection options of tkm9214 --help; see man tkm9214.\n");
    return text;
}

QString ToolOptions::usage() {
    QString commands;
    for (const CommandSpec& command : kCommands) {
        for (const QString& line : QString::fromLatin1(command.synopsis).split(u'\n', Qt::SkipEmptyParts))
            commands += QStringLiteral("  ") + line + u'\n';
    }
    return QStringLiteral(
               "Usage: tkm9214 [--port PATH | --simulator] [--baud RATE] [--address N] [--checksum] "
               "[--rs485]\n"
               "               [--json] [--trace] [--quiet] [--timeout MS] [--retries N] COMMAND ...\n"
               "\n"
               "Scripted service of a TKM-9214 operator terminal on a serial line.\n"
               "\n"
               "Connection (anywhere on the line):\n"
               "  -p, --port PATH  the serial device: /dev/ttyUSB0, a /dev/serial/by-id link, a "
               "pseudo-terminal\n"
               "                   (default $TKM9214_PORT)\n"
               "  --simulator      the built-in simulated terminal (address 1, 9600 baud, checksum off)\n"
               "  -b, --baud RATE  300 600 1200 2400 4800 9600 19200 38400 57600 115200\n"
               "                   (default $TKM9214_BAUD, else 9600)\n"
               "  -a, --address N  terminal address 0 to 255, decimal or 0xNN (default $TKM9214_ADDRESS, "
               "else 1)\n"
               "  --checksum       frames with checksum (default off)\n"
               "  --rs485          RS-485 direction control, for adapters that do not switch their "
               "transmitter:\n"
               "                   the driver's RS-485 mode, else RTS raised around each frame\n"
               "  --timeout MS     the reply wait of every exchange, 1 to 60000 ms (radio links, gateways);\n"
               "                   by default it follows the rate (52 ms at 9600 baud)\n"
               "  --retries N      a failed exchange is tried up to N times more, 0 to 10 (default 0)\n"
               "  --simulator-echo the simulated terminal's line echoes every frame (two-wire RS-485)\n"
               "  --simulator-turnaround MS\n"
               "                   the simulated terminal answers MS milliseconds after each frame\n"
               "  --json           one JSON object per command on standard output, also for failures:\n"
               "                   {\"error\": {\"kind\": ..., \"message\": ...}, \"exit\": N}\n"
               "  --trace          every exchange on standard error, failed ones too, with the time in ms\n"
               "  --quiet          no confirmations from commands that only act\n"
               "  -h, --help       this text; COMMAND --help or help COMMAND: that command's\n"
               "  -V, --version\n"
               "\n"
               "Commands:\n") +
           commands +
           QStringLiteral(
               "\n"
               "Exit status: 0 done, 1 the terminal did not answer or refused, 2 usage error or a file\n"
               "that cannot be read or written, 3 port error, 128+N ended by signal N (130 for Ctrl-C).\n"
               "See man tkm9214.\n");
}
