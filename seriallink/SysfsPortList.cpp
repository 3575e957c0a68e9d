#include "SysfsPortList.h"

#include "PortNumbering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

QList<PortEntry> SysfsPortList::Enumerate() {
    QHash<QString, QString> byId;
    const QDir idDir(FDevDir + QStringLiteral("/serial/by-id"));
    for (const QFileInfo& link : idDir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        byId.insert(QFileInfo(link.symLinkTarget()).fileName(), link.fileName());

    QList<PortEntry> ports;
    quint32 unlisted = PortNumbering::FirstUnlistedNumber;
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
        e.Name = path;
        e.DevicePath = path;
        e.Description = byId.value(name);
        e.Number = PortNumbering::NumberForTty(name).value_or(0);
        if (e.Number == 0)
            e.Number = unlisted++;
        ports.append(e);
    }
    return ports;
}
