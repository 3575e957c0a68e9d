#include "cli/DeviceReport.h"

#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"

#include "files/TerminalText.h"

#include "terminal/Identification.h"

#include "protocol/Conversions.h"
#include "protocol/Replies.h"

#include <QJsonValue>

namespace proto = tkm::protocol;

namespace term = tkm::terminal;

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

TerminalConfig TerminalConfig::of(const term::Configuration& checked) {
    return {checked.addressValue(), checked.baudIndex(), checked.codePageIndex(),
            checked.checksum().value_or(false)};
}

TerminalConfig TerminalConfig::read(ToolLine& line) {
    return of(line.take(term::ReadConfiguration(line, line.address(), term::Replies::Checked)));
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
    term::DeviceData data;
    // Unlike the window's, the tool's identification changes nothing on the terminal.
    const term::Result<> identified = term::Identify(line, a, data, {false, term::Replies::Checked});
    if (!identified)
        throw line.failure(identified.fault());
    DeviceReport r;
    r.address = a;
    r.name = data.deviceName;
    r.firmware = data.firmware;
    r.directions = data.direction;
    r.powerOn = data.powerOn;
    r.safe = data.safe;
    r.lines = data.lineState;
    r.config = TerminalConfig::of(data.configuration);
    r.watchdogEnabled = data.watchdog.enabled;
    r.watchdogPeriodTenths = data.watchdog.periodTenths;
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
