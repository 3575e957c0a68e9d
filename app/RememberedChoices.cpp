#include "app/RememberedChoices.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString kSection = QStringLiteral("[Connection]");
const QString kPortKey = QStringLiteral("Port=");
const QString kBaudKey = QStringLiteral("BaudRate=");
const QString kRs485Key = QStringLiteral("Rs485=");
// Far more than the four short lines the file holds: a larger file is not ours.
constexpr qint64 kMaxFileSize = 64 * 1024;

} // namespace

RememberedChoices::RememberedChoices(QString folder) : folder_(std::move(folder)) {}

QString RememberedChoices::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tkm9214-utility");
}

QString RememberedChoices::filePath() const {
    return folder_ + QStringLiteral("/connection.conf");
}

std::optional<RememberedChoices::Connection> RememberedChoices::load() const {
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return std::nullopt;
    Connection connection;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        if (line.startsWith(kPortKey)) {
            connection.port = line.mid(kPortKey.size());
        } else if (line.startsWith(kBaudKey)) {
            bool ok = false;
            connection.baudRate = line.mid(kBaudKey.size()).toInt(&ok);
            if (!ok)
                connection.baudRate = 0;
        } else if (line.startsWith(kRs485Key)) {
            connection.rs485 = line.mid(kRs485Key.size()) == QLatin1StringView("true");
        }
    }
    if (connection.port.isEmpty() || connection.baudRate <= 0)
        return std::nullopt;
    return connection;
}

bool RememberedChoices::save(const Connection& connection) const {
    // One line per value: a port name that would break a line is not kept.
    if (connection.port.isEmpty() || connection.port.contains(u'\n') || connection.port.contains(u'\r'))
        return false;
    if (!QDir().mkpath(folder_))
        return false;
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = kSection + u'\n' + kPortKey + connection.port + u'\n' + kBaudKey +
                         QString::number(connection.baudRate) + u'\n' + kRs485Key +
                         (connection.rs485 ? QStringLiteral("true") : QStringLiteral("false")) + u'\n';
    file.write(text.toUtf8());
    return file.commit();
}
