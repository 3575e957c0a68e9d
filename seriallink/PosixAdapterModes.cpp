#include "PosixAdapterModes.h"

#include <cerrno>
#include <linux/serial.h>
#include <sys/ioctl.h>

namespace PosixAdapterModes {

namespace {

void SetFlag(auto& flags, unsigned flag, bool on) {
    if (on)
        flags |= flag;
    else
        flags &= ~flag;
}

} // namespace

int LowLatency(int fd, bool& on) {
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) == -1)
        return errno;
    on = (info.flags & ASYNC_LOW_LATENCY) != 0;
    return 0;
}

int SetLowLatency(int fd, bool on) {
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) == -1)
        return errno;
    SetFlag(info.flags, ASYNC_LOW_LATENCY, on);
    if (::ioctl(fd, TIOCSSERIAL, &info) == -1)
        return errno;
    return 0;
}

int Rs485(int fd, SerialRs485& mode) {
    serial_rs485 rs485{};
    if (::ioctl(fd, TIOCGRS485, &rs485) == -1)
        return errno;
    mode.Enabled = (rs485.flags & SER_RS485_ENABLED) != 0;
    mode.RtsOnSend = (rs485.flags & SER_RS485_RTS_ON_SEND) != 0;
    mode.RtsAfterSend = (rs485.flags & SER_RS485_RTS_AFTER_SEND) != 0;
    return 0;
}

int SetRs485(int fd, const SerialRs485& mode) {
    serial_rs485 rs485{};
    if (::ioctl(fd, TIOCGRS485, &rs485) == -1)
        return errno;
    SetFlag(rs485.flags, SER_RS485_ENABLED, mode.Enabled);
    SetFlag(rs485.flags, SER_RS485_RTS_ON_SEND, mode.RtsOnSend);
    SetFlag(rs485.flags, SER_RS485_RTS_AFTER_SEND, mode.RtsAfterSend);
    if (::ioctl(fd, TIOCSRS485, &rs485) == -1)
        return errno;
    return 0;
}

} // namespace PosixAdapterModes
