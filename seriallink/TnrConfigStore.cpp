#include "TnrConfigStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {
QStringList ReadLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

std::optional<QByteArray> TnrConfigStore::Read(const QString& key) const {
    const QString prefix = key + QLatin1Char('=');
    for (const QString& line : ReadLines(FPath)) {
        if (!line.startsWith(prefix))
            continue;
        const QByteArray hex = line.mid(prefix.size()).trimmed().toLatin1();
        const auto decoded = QByteArray::fromHex(hex);
        if (decoded.size() * 2 != hex.size())
            return std::nullopt; // not ours: treated as absent
        return decoded;
    }
    return std::nullopt;
}

bool TnrConfigStore::Write(const QString& key, const QByteArray& value) {
    if (key.contains(QLatin1Char('\n')) || key.contains(QLatin1Char('=')))
        return false;
    QStringList lines = ReadLines(FPath);
    const QString prefix = key + QLatin1Char('=');
    const QString entry = prefix + QString::fromLatin1(value.toHex());
    bool replaced = false;
    for (QString& line : lines) {
        if (line.startsWith(prefix)) {
            line = entry;
            replaced = true;
            break;
        }
    }
    if (!replaced)
        lines.append(entry);
    QDir().mkpath(QFileInfo(FPath).absolutePath());
    QSaveFile f(FPath);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return f.commit();
}
