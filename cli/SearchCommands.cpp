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

// --address (one address), --addresses A-B and --bauds LIST as limits of the search.
AddressSearch::Limits searchLimits(const ToolOptions& options, const CommandWords& w) {
    AddressSearch::Limits limits;
    const std::optional<QString> range = w.value(QStringLiteral("addresses"));
    if (range && options.addressGiven)
        w.fail(QStringLiteral("give --address or --addresses, not both"));
    if (options.addressGiven)
        limits.firstAddress = limits.lastAddress = options.address;
    if (range) {
        const QStringList ends = range->split(u'-');
        const std::optional<int> first = ToolOptions::parseAddress(ends.value(0));
        const std::optional<int> last = ends.size() == 2 ? ToolOptions::parseAddress(ends.value(1)) : first;
        if (ends.size() > 2 || !first || !last || *first > *last)
            w.fail(QStringLiteral("--addresses must be A-B with addresses 0 to 255, A not above B, not '%1'")
                       .arg(*range));
        limits.firstAddress = *first;
        limits.lastAddress = *last;
    }
    if (const std::optional<QString> list = w.value(QStringLiteral("bauds"))) {
        for (const QString& rateText : list->split(u',')) {
            const std::optional<int> rate = ToolOptions::parseBaudRate(rateText.trimmed());
            if (!rate)
                w.fail(QStringLiteral("--bauds: '%1' is not one of the rates %2")
                           .arg(rateText, ToolOptions::rateList()));
            limits.baudIndexes.push_back(*ToolOptions::baudIndexOf(*rate));
        }
    }
    return limits;
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
    w.allowOptions({QStringLiteral("all"), QStringLiteral("addresses"), QStringLiteral("bauds")});
    const bool all = w.flag(QStringLiteral("all"));
    const AddressSearch::Limits limits = searchLimits(c.options, w);

    const AddressSearch search(c.line.baudIndex(), c.line.checksum(), limits);
    const std::vector<AddressSearch::Probe> probes = search.probes();
    if (probes.empty())
        w.fail(QStringLiteral("nothing to search: address 0 answers only at 9600 baud (init mode)"));
    const int replyWaitMs = c.options.timeoutMs.value_or(0);
    std::chrono::milliseconds left = search.remainingTime(probes, 0, replyWaitMs);
    QJsonArray found;
    std::size_t tried = 0;
    for (; tried < probes.size() && !c.interruption.requested(); ++tried) {
        const AddressSearch::Probe& probe = probes[tried];
        c.line.setBaudIndex(probe.setting.baudIndex);
        c.line.setChecksum(probe.setting.checksum);
        c.line.setAddress(probe.address);
        c.output.progress(QStringLiteral("find: %1 (%2 of %3), about %4 left")
                              .arg(c.line.where())
                              .arg(tried + 1)
                              .arg(probes.size())
                              .arg(durationText(left)));
        const bool answered = !proto::IsTransactError(c.line.transact(proto::ReadDeviceName(probe.address)));
        left -= std::chrono::milliseconds(replyWaitMs > 0 ? replyWaitMs
                                                          : proto::ReplyWaitMs(probe.setting.baudIndex, 0));
        if (!answered)
            continue;
        c.output.text(QStringLiteral("found: ") + c.line.where());
        found.append(QJsonObject{{QStringLiteral("address"), probe.address},
                                 {QStringLiteral("baud"), ToolOptions::rateOfIndex(probe.setting.baudIndex)},
                                 {QStringLiteral("checksum"), probe.setting.checksum}});
        if (!all) {
            ++tried;
            break;
        }
    }
    c.output.progress({});
    // Complete: the search ran through, or stopped at what it was asked to find.
    const bool complete = !c.interruption.requested() || (!all && !found.isEmpty());
    c.output.object({{QStringLiteral("found"), found}, {QStringLiteral("complete"), complete}});
    if (!complete)
        c.output.message(QStringLiteral("find interrupted after %1 of %2 probes; %3 found so far")
                             .arg(tried)
                             .arg(probes.size())
                             .arg(found.isEmpty() ? QStringLiteral("no terminal")
                                                  : QStringLiteral("%1 terminal(s)").arg(found.size())));
    if (found.isEmpty()) {
        if (complete)
            c.output.message(QStringLiteral("no terminal answered"));
        return ExitStatus::NoAnswer;
    }
    return ExitStatus::Done;
}

} // namespace ToolCommands
