#pragma once
// The one errno mapper of the serial link: a small classification plus the system's message text,
// with the advice a Linux user needs for the failures met when opening a port.
#include <QString>

enum class SerialErrorKind { None, Permission, Busy, NotFound, DeviceGone, Timeout, Unsupported, Other };

class SystemError {
public:
    static SerialErrorKind Kind(int error);
    // The system's own text for the error (strerror).
    static QString Message(int error);
    // The text of a failed open: the system's text and what to do about it. refusal, when given,
    // says who holds the port and replaces the general advice for a busy port.
    static QString OpenFailureText(int error, const QString& devicePath, const QString& refusal = {});
    // Why a port cannot have RS-485 direction control: the errors of the driver's RS-485 mode and of
    // switching RTS.
    static QString Rs485RefusalText(const QString& port, int driverError, int rtsError);
    // The device went away under an open port (adapter pulled, pseudo-terminal closed).
    static bool MeansDeviceGone(int error);
};
