// configure: a new address, baud rate, code page or checksum mode, written as the Setting page writes
// it, through the init-pin power cycle when the baud rate or checksum mode changes.
#include "cli/CommandWords.h"
#include "cli/ConfigureProcedure.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include <QJsonObject>

namespace {

std::optional<int> codePageIndex(const QString& name) {
    const QString n = name.toLower().remove(u'-');
    if (n == QLatin1StringView("cp866"))
        return 0;
    if (n == QLatin1StringView("win1251"))
        return 1;
    if (n == QLatin1StringView("koi8r"))
        return 2;
    return std::nullopt;
}

} // namespace

namespace ToolCommands {

ExitStatus configure(ToolContext& c) {
    const CommandWords w(c.options, QStringLiteral("configure"));
    w.expectWords(0, 0);
    w.allowOptions({QStringLiteral("new-address"), QStringLiteral("new-baud"), QStringLiteral("code-page"),
                    QStringLiteral("new-checksum"), QStringLiteral("yes"), QStringLiteral("verify")});
    std::optional<int> newAddress;
    if (const std::optional<QString> text = w.value(QStringLiteral("new-address"))) {
        newAddress = ToolOptions::parseAddress(*text);
        if (!newAddress || *newAddress == 0)
            w.fail(
                QStringLiteral("--new-address must be 1 to 255 (decimal, or hexadecimal as 0xNN), not '%1'")
                    .arg(*text));
    }
    std::optional<int> newBaudIndex;
    if (const std::optional<QString> text = w.value(QStringLiteral("new-baud"))) {
        const std::optional<int> rate = ToolOptions::parseBaudRate(*text);
        if (!rate)
            w.fail(QStringLiteral("--new-baud '%1' is not one of the rates %2")
                       .arg(*text, ToolOptions::rateList()));
        newBaudIndex = ToolOptions::baudIndexOf(*rate);
    }
    std::optional<int> newCodePage;
    if (const std::optional<QString> text = w.value(QStringLiteral("code-page"))) {
        newCodePage = codePageIndex(*text);
        if (!newCodePage)
            w.fail(QStringLiteral("--code-page must be cp866, win1251 or koi8r, not '%1'").arg(*text));
    }
    std::optional<bool> newChecksum;
    if (const std::optional<QString> text = w.value(QStringLiteral("new-checksum")))
        newChecksum = w.onOff(*text, QStringLiteral("--new-checksum"));
    const bool yes = w.flag(QStringLiteral("yes"));
    const bool verify = w.flag(QStringLiteral("verify"));

    const QString name = QStringLiteral("configure");
    const ConfigurationWritten written =
        ConfigureProcedure::write(c, {newAddress, newBaudIndex, newCodePage, newChecksum}, yes, name);
    QJsonObject result{{QStringLiteral("written"), written.config.toJson()},
                       {QStringLiteral("power_cycle"), written.powerUpNeeded}};
    bool verified = true;
    if (verify) {
        verified = ConfigureProcedure::verify(c, written, yes, name);
        result.insert(QStringLiteral("verified"), verified);
    } else {
        ConfigureProcedure::remindPowerUp(c, written);
    }
    c.output.object(result);
    return verified ? ExitStatus::Done : ExitStatus::NoAnswer;
}

} // namespace ToolCommands
