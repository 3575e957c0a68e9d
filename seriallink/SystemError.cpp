#include "SystemError.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>

SerialErrorKind SystemError::Kind(int error) {
    switch (error) {
    case 0:
        return SerialErrorKind::None;
    case EACCES:
    case EPERM:
    case EROFS:
        return SerialErrorKind::Permission;
    case EBUSY:
    case EWOULDBLOCK:
        return SerialErrorKind::Busy;
    case ENOENT:
    case ENOTDIR:
        return SerialErrorKind::NotFound;
    case ENODEV:
    case ENXIO:
    case EIO:
    case EPIPE:
    case EBADF:
        return SerialErrorKind::DeviceGone;
    case ETIMEDOUT:
        return SerialErrorKind::Timeout;
    case ENOTTY:
    case EINVAL:
    case ENOSYS:
    case EOPNOTSUPP:
        return SerialErrorKind::Unsupported;
    default:
        return SerialErrorKind::Other;
    }
}

QString SystemError::Message(int error) {
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not live in the buffer.
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

QString SystemError::GroupOf(const QString& path) {
    struct stat st {};
    if (::stat(path.toLocal8Bit().constData(), &st) == -1)
        return {};
    struct group grp {};
    struct group* found = nullptr;
    char buffer[4096];
    if (::getgrgid_r(st.st_gid, &grp, buffer, sizeof buffer, &found) != 0 || !found)
        return QString::number(st.st_gid);
    return QString::fromLocal8Bit(found->gr_name);
}

QString SystemError::OpenFailureText(int error, const QString& devicePath, const QString& refusal) {
    QString text = Message(error) + QLatin1Char('.');
    switch (Kind(error)) {
    case SerialErrorKind::Permission: {
        const QString group = GroupOf(devicePath);
        if (group.isEmpty())
            text += QStringLiteral(" You may not open %1.").arg(devicePath);
        else
            text += QStringLiteral(" %1 belongs to group \"%2\": add your user to that group "
                                   "(sudo usermod -aG %2 $USER), then log out and in again.")
                        .arg(devicePath, group);
        break;
    }
    case SerialErrorKind::Busy:
        text +=
            refusal.isEmpty()
                ? QStringLiteral(" The port is held by another program; close that program and try again.")
                : QLatin1Char(' ') + refusal;
        break;
    case SerialErrorKind::NotFound:
    case SerialErrorKind::DeviceGone:
        text +=
            QStringLiteral(" The port is not present: check the cable or adapter and choose the port again.");
        break;
    default:
        break;
    }
    return text;
}

bool SystemError::MeansDeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}
