// watchdog: read, set, status, reset and the host-alive message, as the WDT page sends them.
#include "cli/CommandWords.h"
#include "cli/DeviceReport.h"
#include "cli/Interruption.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"
#include "cli/WatchLoop.h"

#include "protocol/Commands.h"
#include "protocol/EConvertError.h"
#include "protocol/Replies.h"
#include "protocol/Transact.h"

#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace proto = tkm::protocol;

namespace {

proto::WatchdogState readState(ToolLine& line) {
    const proto::Command read = proto::ReadWatchdogState(line.address());
    std::optional<proto::WatchdogState> state;
    try {
        state = proto::DecodeWatchdogState(line.ask(read));
    } catch (const proto::EConvertError& e) {
        throw RefusedError(QStringLiteral("the terminal's watchdog period is not valid: ") +
                           QString::fromUtf8(e.what()));
    }
    if (!state)
        throw RefusedError(QStringLiteral("the terminal's watchdog state is not 5 characters"));
    return *state;
}

// confirmation: after a change, which --quiet leaves out.
void showState(ToolOutput& output, bool enabled, int tenths, bool confirmation = false) {
    const QString line = QStringLiteral("%1, period %2 s")
                             .arg(enabled ? QStringLiteral("on") : QStringLiteral("off"), PeriodText(tenths));
    const QJsonObject object{{QStringLiteral("enabled"), enabled},
                             {QStringLiteral("period"), PeriodSeconds(tenths)}};
    if (confirmation)
        output.confirmation(line, object);
    else
        output.result(line, object);
}

// Seconds with at most one decimal, 0 to 25.5, in tenths.
int periodTenths(const CommandWords& w, const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,2})(\\.([0-9]))?$"));
    const QRegularExpressionMatch match = form.match(text);
    const int tenths = match.hasMatch() ? match.captured(1).toInt() * 10 + match.captured(3).toInt() : -1;
    if (tenths < 0 || tenths > 255)
        w.fail(QStringLiteral("--period must be seconds 0 to 25.5 in steps of 0.1, not '%1'").arg(text));
    return tenths;
}

ExitStatus keepalive(ToolContext& c, const CommandWords& w) {
    w.allowOptions({QStringLiteral("count"), QStringLiteral("duration")});
    const std::optional<int> count = w.count();
    const std::optional<std::chrono::milliseconds> duration = w.duration();
    // Often enough for the period the terminal holds, and never less often than the window's poll tick.
    const proto::WatchdogState state = readState(c.line);
    std::chrono::milliseconds interval(proto::PollIntervalMs(c.line.baudIndex()));
    if (state.enabled && state.periodTenths > 0)
        interval = std::min(interval, std::chrono::milliseconds(state.periodTenths * 100 / 2));
    int sent = 0;
    WatchLoop loop(c.interruption, count, duration);
    while (loop.goOn()) {
        c.line.transact(proto::HostAlive(), false); // any reply, or none, will do
        ++sent;
        loop.counted();
        if (loop.goOn())
            loop.pause(interval);
    }
    c.output.confirmation(QStringLiteral("%1 host-alive messages sent").arg(sent),
                          {{QStringLiteral("keepalive"), sent}});
    return ExitStatus::Done;
}

} // namespace

namespace ToolCommands {

ExitStatus watchdog(ToolContext& c) {
    const QString sub = CommandWords::subcommand(
        c.options, {QStringLiteral("read"), QStringLiteral("set"), QStringLiteral("status"),
                    QStringLiteral("reset"), QStringLiteral("keepalive")});
    const CommandWords w(c.options, QStringLiteral("watchdog ") + sub);
    const int a = c.line.address();
    if (sub == QLatin1StringView("set")) {
        w.expectWords(1);
        w.allowOptions({QStringLiteral("period")});
        const bool enabled = w.onOff(w.word(1), QStringLiteral("the watchdog"));
        const std::optional<QString> given = w.value(QStringLiteral("period"));
        const int tenths = given ? periodTenths(w, *given) : readState(c.line).periodTenths;
        c.line.ask(proto::WriteWatchdog(a, enabled, tenths));
        showState(c.output, enabled, tenths, true);
        return ExitStatus::Done;
    }
    w.expectWords(0);
    if (sub == QLatin1StringView("keepalive"))
        return keepalive(c, w);
    w.allowOptions({});
    if (sub == QLatin1StringView("read")) {
        const proto::WatchdogState state = readState(c.line);
        showState(c.output, state.enabled, state.periodTenths);
    } else if (sub == QLatin1StringView("status")) {
        const std::optional<proto::ModuleStatus> status =
            proto::DecodeModuleStatus(c.line.ask(proto::ReadModuleStatus(a)));
        if (!status)
            throw RefusedError(QStringLiteral("the terminal's module status is not 4 characters"));
        const QString code =
            QString::fromLatin1(status->status.data(), static_cast<qsizetype>(status->status.size()));
        c.output.result(QStringLiteral("%1 (status %2)")
                            .arg(status->alarm ? QStringLiteral("alarm") : QStringLiteral("normal"), code),
                        {{QStringLiteral("alarm"), status->alarm}, {QStringLiteral("status"), code}});
    } else {
        c.line.ask(proto::ResetModuleStatus(a));
        c.output.confirmation(QStringLiteral("status reset"), {{QStringLiteral("reset"), true}});
    }
    return ExitStatus::Done;
}

} // namespace ToolCommands
