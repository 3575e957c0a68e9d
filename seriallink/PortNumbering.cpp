#include "PortNumbering.h"

namespace PortNumbering {

namespace {
struct Family {
    const char* prefix;
    quint32 base;
};
// Longer prefixes first, so "ttySAC" is not taken for "ttyS".
constexpr Family kFamilies[] = {
    {"ttyXRUSB", 12000}, {"ttymxc", 7000}, {"ttySAC", 9000}, {"ttyTHS", 10000},
    {"ttyMSM", 11000},   {"ttyUSB", 1000}, {"ttyACM", 2000}, {"ttyAMA", 3000},
    {"rfcomm", 4000},    {"ttyGS", 5000},  {"ttyHS", 6000},  {"ttySC", 13000},
    {"ttyPS", 14000},    {"ttyUL", 15000}, {"ttyO", 8000},   {"ttyS", 0},
};
constexpr quint32 kFamilySize = 1000;
} // namespace

std::optional<quint32> NumberForTty(const QString& ttyName) {
    for (const Family& f : kFamilies) {
        const QLatin1StringView prefix(f.prefix);
        if (!ttyName.startsWith(prefix))
            continue;
        bool ok = false;
        const uint k = ttyName.mid(prefix.size()).toUInt(&ok, 10);
        if (!ok || k >= kFamilySize - 1 || ttyName.size() == prefix.size())
            return std::nullopt;
        return f.base + k + 1;
    }
    return std::nullopt;
}

QString PathForNumber(quint32 number) {
    if (number == 0 || number >= FirstUnlistedNumber)
        return {};
    const quint32 base = (number - 1) / kFamilySize * kFamilySize;
    for (const Family& f : kFamilies)
        if (f.base == base)
            return QStringLiteral("/dev/%1%2").arg(QLatin1StringView(f.prefix)).arg(number - base - 1);
    return {};
}

std::optional<PortEntry> ParseComName(const QString& text) {
    const QString upper = text.toUpper();
    if (!upper.startsWith(QLatin1StringView("COM")))
        return std::nullopt;
    bool ok = false;
    const uint n = upper.mid(3).toUInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    PortEntry e;
    e.Name = upper;
    e.Number = n;
    return e;
}

void InsertSorted(QList<PortEntry>& list, const PortEntry& entry) {
    if (list.isEmpty() || list.last().Number < entry.Number) {
        list.append(entry);
        return;
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list.at(i).Number > entry.Number) {
            list.insert(i, entry);
            return;
        }
    }
}

} // namespace PortNumbering
