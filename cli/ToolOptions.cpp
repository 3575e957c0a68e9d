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
};

struct CommandSpec {
    const char* name;
    std::vector<OptionSpec> options;
};

const CommandSpec kCommands[] = {
    {"ports", {}},
    {"identify", {}},
    {"find", {{"all", false}}},
    {"configure",
     {{"new-address", true},
      {"new-baud", true},
      {"code-page", true},
      {"new-checksum", true},
      {"yes", false},
      {"verify", false}}},
    {"display",
     {{"row", true},
      {"column", true},
      {"blink", false},
      {"static", false},
      {"enabled", false},
      {"eeprom", false}}},
    {"keys", {{"watch", false}}},
    {"dio", {}},
    {"symbols", {{"index", true}}},
    {"watchdog", {{"period", true}}},
    {"save", {}},
    {"apply", {{"yes", false}, {"verify", false}}},
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

ToolOptions ToolOptions::parse(const QStringList& arguments) {
    ToolOptions o;
    QMap<QString, QString> connection;
    QSet<QString> connectionFlags;
    const CommandSpec* command = nullptr;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
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
        o.text = usage();
        return o;
    }
    if (connectionFlags.contains(QStringLiteral("version"))) {
        o.action = Action::ShowVersion;
        o.text = QString::fromLatin1(kProgram) + u' ' + QStringLiteral(TKM_VERSION) + u'\n';
        return o;
    }
    if (!command)
        return fail(QStringLiteral("no command given"));

    o.simulator = connectionFlags.contains(QStringLiteral("simulator"));
    o.checksum = connectionFlags.contains(QStringLiteral("checksum"));
    o.json = connectionFlags.contains(QStringLiteral("json"));
    o.trace = connectionFlags.contains(QStringLiteral("trace"));
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
    if (connection.contains(QStringLiteral("port"))) {
        o.port = connection.value(QStringLiteral("port"));
        if (o.port.isEmpty())
            return fail(QStringLiteral("--port needs a device path"));
    }
    if (o.simulator && !o.port.isEmpty())
        return fail(QStringLiteral("--port and --simulator both choose the port; give one of them"));
    if (connection.contains(QStringLiteral("baud"))) {
        const QString text = connection.value(QStringLiteral("baud"));
        const std::optional<int> rate = parseBaudRate(text);
        if (!rate)
            return fail(QStringLiteral("--baud %1 is not one of the rates %2").arg(quoted(text), rateList()));
        o.baudRate = *rate;
        o.baudGiven = true;
    }
    if (connection.contains(QStringLiteral("address"))) {
        const QString text = connection.value(QStringLiteral("address"));
        const std::optional<int> address = parseAddress(text);
        if (!address)
            return fail(
                QStringLiteral("--address %1 is not an address 0 to 255 (decimal, or hexadecimal as 0xNN)")
                    .arg(quoted(text)));
        o.address = *address;
    }
    return o;
}

QString ToolOptions::usage() {
    return QStringLiteral(
        "Usage: tkm9214 [--port PATH | --simulator] [--baud RATE] [--address N] [--checksum] [--rs485]\n"
        "               [--json] [--trace] COMMAND ...\n"
        "\n"
        "Scripted service of a TKM-9214 operator terminal on a serial line.\n"
        "\n"
        "Connection (anywhere on the line):\n"
        "  --port PATH      the serial device: /dev/ttyUSB0, a /dev/serial/by-id link, a pseudo-terminal\n"
        "  --simulator      the built-in simulated terminal (address 1, 9600 baud, checksum off)\n"
        "  --baud RATE      300 600 1200 2400 4800 9600 19200 38400 57600 115200 (default 9600)\n"
        "  --address N      terminal address 0 to 255, decimal or 0xNN (default 1)\n"
        "  --checksum       frames with checksum (default off)\n"
        "  --rs485          RS-485 direction control, for adapters that do not switch their transmitter:\n"
        "                   the driver's RS-485 mode, else RTS raised around each frame\n"
        "  --simulator-echo the simulated terminal's line echoes every frame (two-wire RS-485)\n"
        "  --simulator-turnaround MS\n"
        "                   the simulated terminal answers MS milliseconds after each frame\n"
        "  --json           one JSON object per command on standard output\n"
        "  --trace          every exchange on standard error, as the window's traffic log shows it\n"
        "  --help, --version\n"
        "\n"
        "Commands:\n"
        "  ports                                the serial ports, with their USB descriptions\n"
        "  identify                             name, firmware, configuration, lines and watchdog\n"
        "  find [--all]                         look for terminals over addresses, checksum modes and rates\n"
        "  configure [--new-address N] [--new-baud RATE] [--code-page cp866|win1251|koi8r]\n"
        "            [--new-checksum on|off] [--yes] [--verify]\n"
        "  display text TEXT [--row R --column C] | clear | cursor R C | lamp 1|2 on|off\n"
        "  display settings [--blink] [--static] [--enabled] [--eeprom]\n"
        "  keys [--watch]                       the pressed keys, once or until interrupted\n"
        "  dio read | write HH | directions HH | save-power-on | save-safe\n"
        "  symbols write FILE.tkm [--index N]   user symbols from a .tkm file\n"
        "  watchdog read | set on|off [--period SECONDS] | status | reset | keepalive\n"
        "  save FILE.tkm                        the terminal's settings into a .tkm file\n"
        "  apply FILE.tkm [--yes] [--verify]    a .tkm file's settings and user symbols into the terminal\n"
        "\n"
        "Exit status: 0 done, 1 the terminal did not answer or refused, 2 usage error, 3 port error.\n"
        "See man tkm9214.\n");
}
