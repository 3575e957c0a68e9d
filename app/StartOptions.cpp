#include "app/StartOptions.h"

#include "app/PortPath.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

// The rates of the baud-rate list, in its order.
constexpr std::array<int, 10> kBaudRates{300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

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
    QStringList rates;
    for (int rate : kBaudRates)
        rates << QString::number(rate);
    return rates.join(u' ');
}

// Plain ASCII digits of the base only: no sign, no blanks. At most maxDigits of them.
std::optional<int> digitsValue(const QString& digits, int base, qsizetype maxDigits) {
    if (digits.isEmpty() || digits.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = base;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

std::optional<int> parseBaudRate(const QString& text) {
    const std::optional<int> rate = digitsValue(text, 10, 6);
    if (rate && std::find(kBaudRates.begin(), kBaudRates.end(), *rate) != kBaudRates.end())
        return rate;
    return std::nullopt;
}

// Decimal 0..255 or 0xNN.
std::optional<int> parseAddress(const QString& text) {
    const bool hex = text.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive);
    const std::optional<int> value = hex ? digitsValue(text.mid(2), 16, 2) : digitsValue(text, 10, 3);
    if (value && *value <= 255)
        return value;
    return std::nullopt;
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
    parser.addOptions({help, version, port, simulator, baud, address, checksum, open});
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
                                "[--open]\n") +
                 options;
        return o;
    }
    if (parser.isSet(version)) {
        o.action = Action::ShowVersion;
        o.text = QString::fromLatin1(kProgram) + u' ' + QStringLiteral(TKM_VERSION) + u'\n';
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
    return o;
}
