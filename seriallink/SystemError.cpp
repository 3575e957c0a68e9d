#include "SystemError.h"

#include "DevicePermissions.h"

#include <cerrno>
#include <cstring>

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

QString SystemError::OpenFailureText(int error, const QString& devicePath, const QString& refusal) {
    QString text = Message(error) + QLatin1Char('.');
    switch (Kind(error)) {
    case SerialErrorKind::Permission:
        text += DevicePermissions::Advice(devicePath);
        break;
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

QString SystemError::Rs485RefusalText(const QString& port, int driverError, int rtsError) {
    const QString driver =
        Kind(driverError) == SerialErrorKind::Unsupported
            ? QStringLiteral("its driver has no RS-485 mode")
            : QStringLiteral("its driver refused the RS-485 mode (%1)").arg(Message(driverError));
    const QString rts = Kind(rtsError) == SerialErrorKind::Unsupported
                            ? QStringLiteral("it has no RTS line to switch the transmitter with")
                            : QStringLiteral("RTS could not be switched (%1)").arg(Message(rtsError));
    return QStringLiteral("RS-485 direction control is not possible on %1: %2, and %3.")
        .arg(port, driver, rts);
}

bool SystemError::MeansDeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}
