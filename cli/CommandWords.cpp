#include "cli/CommandWords.h"

#include "cli/ToolError.h"
#include "cli/ToolOptions.h"

#include <algorithm>

CommandWords::CommandWords(const ToolOptions& options, QString name)
    : options_(options), name_(std::move(name)) {}

QString CommandWords::subcommand(const ToolOptions& options, const QStringList& known) {
    const QString first = options.words.value(0);
    if (!known.contains(first)) {
        throw UsageError(QStringLiteral("%1 needs one of: %2%3")
                             .arg(options.command, known.join(QStringLiteral(", ")),
                                  first.isEmpty() ? QString() : QStringLiteral(" (not '%1')").arg(first)));
    }
    return first;
}

void CommandWords::fail(const QString& problem) const {
    throw UsageError(name_ + QStringLiteral(": ") + problem);
}

void CommandWords::expectWords(int count, int skip) const {
    const qsizetype given = options_.words.size() - skip;
    if (given < count)
        fail(QStringLiteral("%1 missing")
                 .arg(count - given == 1 ? QStringLiteral("a value is") : QStringLiteral("values are")));
    if (given > count)
        fail(QStringLiteral("unexpected '%1'").arg(options_.words.value(skip + count)));
}

void CommandWords::allowOptions(const QStringList& names) const {
    for (const QString& flag : options_.flags) {
        if (!names.contains(flag))
            fail(QStringLiteral("no option --%1 here").arg(flag));
    }
    for (auto it = options_.values.cbegin(); it != options_.values.cend(); ++it) {
        if (!names.contains(it.key()))
            fail(QStringLiteral("no option --%1 here").arg(it.key()));
    }
}

QString CommandWords::word(int index) const {
    return options_.words.value(index);
}

int CommandWords::number(const QString& text, int low, int high, const QString& what) const {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    const bool plain =
        !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !plain || value < low || value > high)
        fail(QStringLiteral("%1 must be %2 to %3, not '%4'").arg(what).arg(low).arg(high).arg(text));
    return value;
}

int CommandWords::hexByte(const QString& text, const QString& what) const {
    bool ok = false;
    const int value = text.toInt(&ok, 16);
    const bool hexDigits = text.size() == 2 && std::all_of(text.begin(), text.end(), [](QChar c) {
                               return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f');
                           });
    if (!ok || !hexDigits)
        fail(QStringLiteral("%1 must be two hex digits (line k = bit 7-k), not '%2'").arg(what, text));
    return value;
}

bool CommandWords::onOff(const QString& text, const QString& what) const {
    if (text == QLatin1StringView("on"))
        return true;
    if (text == QLatin1StringView("off"))
        return false;
    fail(QStringLiteral("%1 must be on or off, not '%2'").arg(what, text));
}

std::optional<QString> CommandWords::value(const QString& option) const {
    if (!options_.values.contains(option))
        return std::nullopt;
    return options_.values.value(option);
}

bool CommandWords::flag(const QString& option) const {
    return options_.flags.contains(option);
}

std::optional<int> CommandWords::count() const {
    const std::optional<QString> text = value(QStringLiteral("count"));
    if (!text)
        return std::nullopt;
    return number(*text, 1, 1000000000, QStringLiteral("--count"));
}

std::optional<std::chrono::milliseconds> CommandWords::duration() const {
    const std::optional<QString> text = value(QStringLiteral("duration"));
    if (!text)
        return std::nullopt;
    bool ok = false;
    const double seconds = text->toDouble(&ok);
    if (!ok || !(seconds > 0) || seconds > 1e6 || text->contains(u'e', Qt::CaseInsensitive))
        fail(QStringLiteral("--duration must be seconds above 0, not '%1'").arg(*text));
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5));
}
