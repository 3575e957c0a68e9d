#include "app/StartOptions.h"

#include "app/PortPath.h"

#include "protocol/ConnectionArguments.h"

#include "sim/PtyLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// Qt's window-system options, which QApplication takes from the command line after us.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"display", true},
    {"geometry", true},        {"style", true},
    {"stylesheet", true},      {"session", true},
    {"reverse", false},        {"widgetcount", false},
    {"nograb", false},         {"dograb", false},
};

QString rateList() {
    return QString::fromStdString(tkm::protocol::BaudRateList());
}

std::optional<int> parseBaudRate(const QString& text) {
    return tkm::protocol::ParseBaudRateArgument(text.toStdString());
}

std::optional<int> parseAddress(const QString& text) {
    return tkm::protocol::ParseAddressArgument(text.toStdString());
}

StartOptions fail(const QString& message) {
    StartOptions outcome;
    outcome.action = StartOptions::Action::Fail;
    outcome.text = QString::fromLatin1(StartOptions::kProgram) + QStringLiteral(": ") + message +
                   QStringLiteral(" (try --help)\n");
    return outcome;
}

QString quoted(const QString& text) {
    return u'\'' + text + u'\'';
}

} // namespace

QString StartOptions::version() {
    return QStringLiteral(TKM_VERSION);
}

StartOptions StartOptions::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Service and test utility for the TKM-9214 operator terminal on a serial line.\n"
                       "Without options the window starts with the port and baud rate last opened, when that "
                       "port is present."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("?"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Use the serial device PATH: a port such as /dev/ttyUSB0, a /dev/serial/by-id link, "
                       "a pseudo-terminal or a link to one."),
        QStringLiteral("PATH"));
    const QCommandLineOption simulator(QStringLiteral("simulator"),
                                       QStringLiteral("Use the built-in simulated TKM-9214 terminal."));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Baud rate: ") + rateList() + u'.',
                                  QStringLiteral("RATE"));
    const QCommandLineOption address(QStringLiteral("address"),
                                     QStringLiteral("Terminal address 0 to 255, decimal or 0xNN."),
                                     QStringLiteral("N"));
    const QCommandLineOption checksum(QStringLiteral("checksum"), QStringLiteral("Switch checksum mode on."));
    const QCommandLineOption open(
        QStringLiteral("open"), QStringLiteral("Open the port at start; the first poll finds the terminal."));
    const QCommandLineOption rs485(
        QStringLiteral("rs485"),
        QStringLiteral("RS-485 direction control, for adapters that do not switch their transmitter "
                       "themselves: the driver's RS-485 mode, else RTS raised around each frame. Remembered "
                       "with the port."));
    const QCommandLineOption simulatorEcho(
        QStringLiteral("simulator-echo"),
        QStringLiteral("The built-in simulated terminal's line echoes every frame, as a two-wire RS-485 "
                       "line does."));
    const QCommandLineOption simulatorTurnaround(
        QStringLiteral("simulator-turnaround"),
        QStringLiteral("The built-in simulated terminal answers MS milliseconds after each frame."),
        QStringLiteral("MS"));
    parser.addOptions({help, version, port, simulator, baud, address, checksum, rs485, open, simulatorEcho,
                       simulatorTurnaround});
    for (const QtOption& q : kQtOptions) {
        QCommandLineOption passed(QString::fromLatin1(q.name));
        if (q.takesValue)
            passed.setValueName(QStringLiteral("value"));
        passed.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(passed);
    }

    if (!parser.parse(arguments))
        return fail(parser.errorText());

    StartOptions o;
    if (parser.isSet(help)) {
        o.action = Action::ShowHelp;
        // Qt writes a placeholder for the program's name when there is no application object yet.
        const QString options = parser.helpText().section(u'\n', 1);
        o.text = QStringLiteral("Usage: ") + QString::fromLatin1(kProgram) +
                 QStringLiteral(" [--port PATH | --simulator] [--baud RATE] [--address N] [--checksum] "
                                "[--rs485] [--open]\n") +
                 options;
        return o;
    }
    if (parser.isSet(version)) {
        o.action = Action::ShowVersion;
        o.text = QString::fromLatin1(kProgram) + u' ' + StartOptions::version() + u'\n';
        return o;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument ") + quoted(parser.positionalArguments().first()));

    if (parser.isSet(port)) {
        const QString path = parser.value(port);
        if (path.isEmpty())
            return fail(QStringLiteral("--port needs a device path"));
        if (const QString problem = PortPath::problem(path); !problem.isEmpty())
            return fail(QStringLiteral("--port ") + path + QStringLiteral(": ") + problem);
        o.port = QFileInfo(path).absoluteFilePath();
    }
    o.simulator = parser.isSet(simulator);
    if (o.simulator && !o.port.isEmpty())
        return fail(QStringLiteral("--port and --simulator both choose the port; give one of them"));
    if (parser.isSet(baud)) {
        o.baudRate = parseBaudRate(parser.value(baud));
        if (!o.baudRate)
            return fail(QStringLiteral("--baud ") + quoted(parser.value(baud)) +
                        QStringLiteral(" is not one of the rates ") + rateList());
    }
    if (parser.isSet(address)) {
        o.address = parseAddress(parser.value(address));
        if (!o.address)
            return fail(QStringLiteral("--address ") + quoted(parser.value(address)) +
                        QStringLiteral(" is not an address 0 to 255 (decimal, or hexadecimal as 0xNN)"));
    }
    o.checksum = parser.isSet(checksum);
    o.open = parser.isSet(open);
    o.rs485 = parser.isSet(rs485);
    o.simulatorEcho = parser.isSet(simulatorEcho);
    if (parser.isSet(simulatorTurnaround)) {
        const QString text = parser.value(simulatorTurnaround);
        bool ok = false;
        o.simulatorTurnaroundMs = text.toInt(&ok);
        const int longest = static_cast<int>(tkm::sim::PtyLine::kMaxTurnaround.count());
        if (!ok || o.simulatorTurnaroundMs < 0 || o.simulatorTurnaroundMs > longest)
            return fail(QStringLiteral("--simulator-turnaround ") + quoted(text) +
                        QStringLiteral(" is not a number of milliseconds 0 to ") + QString::number(longest));
    }
    return o;
}
