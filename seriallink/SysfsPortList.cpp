#include "SysfsPortList.h"

#include "PortNumbering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QString ReadTrimmed(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(256)).trimmed();
}

// A tty sits at most a few levels below its USB device: ttyUSB0 under the interface under the device.
constexpr int kUsbDeviceLevels = 4;

} // namespace

SysfsPortList::SysfsPortList(QString sysClassTty, QString devDir)
    : FSysClassTty(std::move(sysClassTty)), FDevDir(std::move(devDir)) {}

bool SysfsPortList::IsPhantomUart(const QString& name) const {
    // serial_core publishes the UART type; 0 is PORT_UNKNOWN, a port the driver could not find.
    QFile type(FSysClassTty + QLatin1Char('/') + name + QStringLiteral("/type"));
    if (type.open(QIODevice::ReadOnly))
        return type.readAll().trimmed() == "0";
    const QByteArray node = (FDevDir + QLatin1Char('/') + name).toLocal8Bit();
    const int fd = ::open(node.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1)
        return false;
    serial_struct info{};
    const bool phantom = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
    ::close(fd);
    return phantom;
}

QString SysfsPortList::UsbIdentity(const QString& name) const {
    QString dir =
        QFileInfo(FSysClassTty + QLatin1Char('/') + name + QStringLiteral("/device")).canonicalFilePath();
    for (int level = 0; level < kUsbDeviceLevels && !dir.isEmpty() && dir != QStringLiteral("/"); ++level) {
        if (QFileInfo::exists(dir + QStringLiteral("/idVendor"))) {
            QStringList parts;
            for (const char* file : {"/product", "/serial"})
                if (const QString text = ReadTrimmed(dir + QLatin1StringView(file)); !text.isEmpty())
                    parts << text;
            return parts.join(QStringLiteral(", "));
        }
        dir = QFileInfo(dir).path();
    }
    return {};
}

quint32 SysfsPortList::UnlistedNumber(const QString& name) {
    const auto known = FUnlistedNumbers.constFind(name);
    if (known != FUnlistedNumbers.constEnd())
        return *known;
    const quint32 number = PortNumbering::FirstUnlistedNumber + static_cast<quint32>(FUnlistedNumbers.size());
    FUnlistedNumbers.insert(name, number);
    return number;
}

QString SysfsPortList::DisplayName(const QString& path, const QString& identity) {
    return identity.isEmpty() ? path : path + QStringLiteral(" (") + identity + u')';
}

QString SysfsPortList::ByIdIdentity(const QString& byIdName) {
    // udev writes usb-<vendor>_<model>[_<serial>]-if<NN>[-port<N>], blanks as underscores.
    static const QRegularExpression pattern(QStringLiteral("^usb-(.+)-if[0-9A-Fa-f]+(-port[0-9]+)?$"));
    const QRegularExpressionMatch match = pattern.match(byIdName);
    if (!match.hasMatch())
        return {};
    return match.captured(1).replace(u'_', u' ').trimmed();
}

std::optional<AdapterLatency> SysfsPortList::LatencyOf(const QString& devicePath) {
    const QFileInfo node(QFileInfo(devicePath).canonicalFilePath());
    if (node.filePath().isEmpty() || node.path() != QFileInfo(FDevDir).canonicalFilePath())
        return std::nullopt;
    const QString device = FSysClassTty + QLatin1Char('/') + node.fileName() + QStringLiteral("/device");
    bool ok = false;
    const int timer = ReadTrimmed(device + QStringLiteral("/latency_timer")).toInt(&ok);
    if (!ok)
        return std::nullopt;
    const QString driver = QFileInfo(device + QStringLiteral("/driver")).canonicalFilePath();
    return AdapterLatency{node.fileName(), driver.isEmpty() ? QString() : QFileInfo(driver).fileName(),
                          timer};
}

QList<PortEntry> SysfsPortList::Enumerate() {
    QHash<QString, QString> byId;
    const QDir idDir(FDevDir + QStringLiteral("/serial/by-id"));
    for (const QFileInfo& link : idDir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        byId.insert(QFileInfo(link.symLinkTarget()).fileName(), link.fileName());

    QList<PortEntry> ports;
    const QStringList names =
        QDir(FSysClassTty).entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        if (!QFileInfo::exists(FSysClassTty + QLatin1Char('/') + name + QStringLiteral("/device/driver")))
            continue;
        const QString path = FDevDir + QLatin1Char('/') + name;
        if (!QFileInfo::exists(path))
            continue;
        if (name.startsWith(QLatin1StringView("ttyS")) && PortNumbering::NumberForTty(name) &&
            IsPhantomUart(name))
            continue;
        PortEntry e;
        e.DevicePath = path;
        e.Description = byId.value(name);
        QString identity = UsbIdentity(name);
        if (identity.isEmpty())
            identity = ByIdIdentity(e.Description);
        e.Name = DisplayName(path, identity);
        e.Number = PortNumbering::NumberForTty(name).value_or(0);
        if (e.Number == 0)
            e.Number = UnlistedNumber(name);
        ports.append(e);
    }
    return ports;
}
