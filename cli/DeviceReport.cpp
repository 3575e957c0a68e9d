#include "cli/DeviceReport.h"

#include "cli/ToolError.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"

#include "files/TerminalText.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"
#include "protocol/EConvertError.h"
#include "protocol/Replies.h"

#include <QJsonValue>

#include <cctype>
#include <optional>

namespace proto = tkm::protocol;

namespace {

ToolError invalid(const proto::Command& command, const QString& why) {
    return RefusedError(QStringLiteral("the terminal's reply to %1 is not valid: %2")
                            .arg(TerminalText::visible(command.text), why));
}

// A line byte as the LEDs show it: two hex digits, in upper case.
std::string lineByte(ToolLine& line, const proto::Command& command) {
    std::optional<std::string> byte = proto::DecodeLineByte(line.ask(command));
    if (!byte)
        throw invalid(command, QStringLiteral("not two hex digits"));
    for (char& c : *byte)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *byte;
}

QString bytesText(const std::string& bytes) {
    return TerminalText::visible(bytes);
}

} // namespace

QString CodePageNameOfIndex(int index) {
    const std::string_view name = proto::CodePageName(proto::HexText(static_cast<std::uint32_t>(index), 2));
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

double PeriodSeconds(int tenths) {
    return tenths / 10.0;
}

QString PeriodText(int tenths) {
    return QString::number(PeriodSeconds(tenths), 'g', 15);
}

TerminalConfig TerminalConfig::read(ToolLine& line) {
    const proto::Command configRead = proto::ReadConfiguration(line.address());
    const std::optional<proto::ConfigurationFields> fields = proto::DecodeConfiguration(line.ask(configRead));
    if (!fields)
        throw invalid(configRead, QStringLiteral("not 10 characters"));
    TerminalConfig config;
    try {
        config.address = proto::ParseHex(fields->address);
        config.baudIndex = proto::ParseHex(fields->baudCode) - 1;
    } catch (const proto::EConvertError& e) {
        throw invalid(configRead, QString::fromUtf8(e.what()));
    }
    if (config.baudIndex < 0 || config.baudIndex > 9)
        throw invalid(configRead, QStringLiteral("no baud rate has the code ") + bytesText(fields->baudCode));
    if (proto::CodePageName(fields->codePageCode).empty())
        throw invalid(configRead,
                      QStringLiteral("no code page has the code ") + bytesText(fields->codePageCode));
    config.codePageIndex = proto::ParseHex(fields->codePageCode);
    if (fields->formatCode != "40" && fields->formatCode != "00")
        throw invalid(configRead, QStringLiteral("the format code ") + bytesText(fields->formatCode) +
                                      QStringLiteral(" is neither 40 nor 00"));
    config.checksum = fields->formatCode == "40";
    return config;
}

QJsonObject TerminalConfig::toJson() const {
    return {{QStringLiteral("address"), address},
            {QStringLiteral("baud"), ToolOptions::rateOfIndex(baudIndex)},
            {QStringLiteral("code_page"), CodePageNameOfIndex(codePageIndex)},
            {QStringLiteral("checksum"), checksum}};
}

QString TerminalConfig::toText() const {
    return QStringLiteral("address %1 (0x%2), %3 baud, %4, checksum %5")
        .arg(address)
        .arg(QString::fromStdString(proto::HexText(static_cast<std::uint32_t>(address), 2)))
        .arg(ToolOptions::rateOfIndex(baudIndex))
        .arg(CodePageNameOfIndex(codePageIndex), checksum ? QStringLiteral("on") : QStringLiteral("off"));
}

DeviceReport DeviceReport::read(ToolLine& line) {
    const int a = line.address();
    DeviceReport r;
    r.address = a;
    r.name = proto::DecodeDeviceName(line.ask(proto::ReadDeviceName(a)));
    r.firmware = proto::DecodeFirmware(line.ask(proto::ReadFirmware(a)));
    r.directions = lineByte(line, proto::ReadDirection(a));
    r.powerOn = lineByte(line, proto::ReadPowerOnValue(a));
    r.safe = lineByte(line, proto::ReadSafeValue(a));
    r.lines = lineByte(line, proto::ReadLineState(a));

    r.config = TerminalConfig::read(line);

    const proto::Command watchdogRead = proto::ReadWatchdogState(a);
    try {
        const std::optional<proto::WatchdogState> watchdog =
            proto::DecodeWatchdogState(line.ask(watchdogRead));
        if (!watchdog)
            throw invalid(watchdogRead, QStringLiteral("not 5 characters"));
        r.watchdogEnabled = watchdog->enabled;
        r.watchdogPeriodTenths = watchdog->periodTenths;
    } catch (const proto::EConvertError& e) {
        throw invalid(watchdogRead, QString::fromUtf8(e.what()));
    }
    return r;
}

QJsonObject DeviceReport::toJson() const {
    auto text = [](const std::string& bytes) { return QJsonValue(TerminalText::visible(bytes)); };
    return {{QStringLiteral("address"), address},
            {QStringLiteral("name"), text(name)},
            {QStringLiteral("firmware"), text(firmware)},
            {QStringLiteral("config"), config.toJson()},
            {QStringLiteral("directions"), text(directions)},
            {QStringLiteral("power_on"), text(powerOn)},
            {QStringLiteral("safe"), text(safe)},
            {QStringLiteral("lines"), text(lines)},
            {QStringLiteral("watchdog"),
             QJsonObject{{QStringLiteral("enabled"), watchdogEnabled},
                         {QStringLiteral("period"), PeriodSeconds(watchdogPeriodTenths)}}}};
}

QString DeviceReport::toText() const {
    QStringList lines_;
    lines_ << QStringLiteral("Address     %1 (0x%2)")
                  .arg(address)
                  .arg(QString::fromStdString(proto::HexText(static_cast<std::uint32_t>(address), 2)))
           << QStringLiteral("Device      ") + TerminalText::visible(name)
           << QStringLiteral("Firmware    ") + TerminalText::visible(firmware)
           << QStringLiteral("Config      ") + config.toText()
           << QStringLiteral("Directions  %1 (set bit: input)").arg(QString::fromStdString(directions))
           << QStringLiteral("Power-on    ") + QString::fromStdString(powerOn)
           << QStringLiteral("Safe        ") + QString::fromStdString(safe)
           << QStringLiteral("Lines       ") + QString::fromStdString(lines)
           << QStringLiteral("Watchdog    %1, period %2 s")
                  .arg(watchdogEnabled ? QStringLiteral("on") : QStringLiteral("off"),
                       PeriodText(watchdogPeriodTenths));
    return lines_.join(u'\n');
}
