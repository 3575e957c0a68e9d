// identify and find: who is on the line, at the connection's settings or at any.
#include "cli/AddressSearch.h"
#include "cli/CommandWords.h"
#include "cli/DeviceReport.h"
#include "cli/Interruption.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include "protocol/Commands.h"
#include "protocol/Transact.h"

#include <QJsonArray>
#include <QJsonObject>

namespace proto = tkm::protocol;

namespace {

QString durationText(std::chrono::milliseconds time) {
    const long long seconds = (time.count() + 999) / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    return QStringLiteral("%1 h %2 min").arg(seconds / 3600).arg(seconds % 3600 / 60);
}

} // namespace

namespace ToolCommands {

ExitStatus identify(ToolContext& c) {
    const CommandWords w(c.options, QStringLiteral("identify"));
    w.expectWords(0, 0);
    w.allowOptions({});
    const DeviceReport report = DeviceReport::read(c.line);
    c.output.result(report.toText(), report.toJson());
    return ExitStatus::Done;
}

ExitStatus find(ToolContext& c) {
    const CommandWords w(c.options, QStringLiteral("find"));
    w.expectWords(0, 0);
    w.allowOptions({QStringLiteral("all")});
    const bool all = w.flag(QStringLiteral("all"));

    const AddressSearch search(c.line.baudIndex(), c.line.checksum());
    const std::vector<AddressSearch::Probe> probes = search.probes();
    std::chrono::milliseconds left = search.remainingTime(probes, 0);
    QJsonArray found;
    for (std::size_t i = 0; i < probes.size() && !c.interruption.requested(); ++i) {
        const AddressSearch::Probe& probe = probes[i];
        c.line.setBaudIndex(probe.setting.baudIndex);
        c.line.setChecksum(probe.setting.checksum);
        c.line.setAddress(probe.address);
        c.output.progress(QStringLiteral("find: %1 (%2 of %3), about %4 left")
                              .arg(c.line.where())
                              .arg(i + 1)
                              .arg(probes.size())
                              .arg(durationText(left)));
        const bool answered = !proto::IsTransactError(c.line.transact(proto::ReadDeviceName(probe.address)));
        left -= std::chrono::milliseconds(proto::ReplyWaitMs(probe.setting.baudIndex, 0));
        if (!answered)
            continue;
        c.output.text(QStringLiteral("found: ") + c.line.where());
        found.append(QJsonObject{{QStringLiteral("address"), probe.address},
                                 {QStringLiteral("baud"), ToolOptions::rateOfIndex(probe.setting.baudIndex)},
                                 {QStringLiteral("checksum"), probe.setting.checksum}});
        if (!all)
            break;
    }
    c.output.progress({});
    c.output.object({{QStringLiteral("found"), found}});
    if (found.isEmpty()) {
        c.output.message(c.interruption.requested()
                             ? QStringLiteral("find interrupted; no terminal found so far")
                             : QStringLiteral("no terminal answered"));
        return ExitStatus::NoAnswer;
    }
    return ExitStatus::Done;
}

} // namespace ToolCommands
