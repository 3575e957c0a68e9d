#include "PosixSerialPort.h"

#include "PosixAdapterModes.h"
#include "PosixCustomBaud.h"
#include "PosixLineWatcher.h"
#include "TermiosMapping.h"

#include <QDeadlineTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

std::unique_ptr<SerialDevice> CreatePlatformSerialDevice() {
    return std::make_unique<PosixSerialPort>();
}

PosixSerialPort::~PosixSerialPort() {
    Close();
}

int PosixSerialPort::Open(const QString& path) {
    Close();
    FRefusal.clear();
    FSharedWith.clear();
    // The lock comes first, so a port another program has locked is not even opened (opening can
    // raise DTR and disturb it).
    PortHolders::Holder holder;
    if (FLock.Acquire(path, holder) == EBUSY) {
        FRefusal = holder.Pid ? QStringLiteral("The port is locked by %1 (lock file %2): close that "
                                               "program and try again.")
                                    .arg(PortHolders::Describe(holder), FLock.LockPath())
                              : QStringLiteral("The lock file %1 names no program: if no program "
                                               "uses the port, remove that file and try again.")
                                    .arg(FLock.LockPath());
        return EBUSY;
    }
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const int err = fd == -1 ? errno : TakeOver(fd, true);
    if (err == 0) {
        FSharedWith = PortHolders::Describe(PortHolders::Find(path));
        return 0;
    }
    if (fd != -1)
        ::close(fd);
    FLock.Release();
    if (err == EBUSY || err == EWOULDBLOCK) {
        const QList<PortHolders::Holder> holders = PortHolders::Find(path);
        if (!holders.isEmpty())
            FRefusal = QStringLiteral("The port is held by %1: close that program and try again.")
                           .arg(PortHolders::Describe(holders));
    }
    return err;
}

int PosixSerialPort::Adopt(int fd) {
    Close();
    FRefusal.clear();
    FSharedWith.clear();
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1)
        return errno;
    if (::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == -1)
        return errno;
    // The owner of an adopted descriptor vouches for it: no lock is demanded.
    return TakeOver(fd, false);
}

int PosixSerialPort::TakeOver(int fd, bool lock) {
    if (!::isatty(fd))
        return ENOTTY;
    if (lock) {
        // flock refuses a second opener in any process (root included); TIOCEXCL adds the tty's own
        // refusal for programs that do not lock.
        if (::flock(fd, LOCK_EX | LOCK_NB) == -1)
            return errno;
        ::ioctl(fd, TIOCEXCL);
    }
    FHaveSaved = ::tcgetattr(fd, &FSaved) == 0;
    FFd = fd;
    FCountersKnown = ::ioctl(fd, TIOCGICOUNT, &FCounters) == 0;
    return 0;
}

void PosixSerialPort::Close() {
    if (FFd == -1)
        return;
    if (FHaveSaved)
        ::tcsetattr(FFd, TCSANOW, &FSaved);
    ::ioctl(FFd, TIOCNXCL);
    ::close(FFd);
    FFd = -1;
    FLock.Release();
    FHaveSaved = false;
    FCountersKnown = false;
}

int PosixSerialPort::ApplySettings(const TDCB& dcb) {
    termios t{};
    if (::tcgetattr(FFd, &t) == -1)
        return errno;
    const bool standard = TermiosMapping::ToTermios(dcb, t);
    int result = 0;
    if (::tcsetattr(FFd, TCSANOW, &t) == -1) {
        result = errno;
        // Some drivers refuse a whole record for one field (pseudo-terminals take only 8 data bits
        // without parity): apply the rest, so the line is still raw at the wanted rate.
        t.c_cflag = (t.c_cflag & ~(CSIZE | PARENB | PARODD | CMSPAR)) | CS8;
        t.c_iflag &= ~INPCK;
        if (result != EINVAL || ::tcsetattr(FFd, TCSANOW, &t) == -1)
            return result;
    }
    if (!standard)
        if (const int err = PosixCustomBaud::SetRate(FFd, dcb.BaudRate))
            return err;
    return result;
}

int PosixSerialPort::ReadSettings(TDCB& dcb) {
    termios t{};
    if (::tcgetattr(FFd, &t) == -1)
        return errno;
    quint32 baud = 0;
    if (PosixCustomBaud::ReadRate(FFd, baud) != 0)
        baud = TermiosMapping::BaudOf(cfgetospeed(&t));
    TermiosMapping::FromTermios(t, baud, dcb);
    return 0;
}

int PosixSerialPort::Status(SerialLineStatus& status) {
    status = {};
    int in = 0;
    int out = 0;
    if (::ioctl(FFd, FIONREAD, &in) == -1)
        return errno;
    if (::ioctl(FFd, TIOCOUTQ, &out) == -1)
        return errno;
    status.InQueue = static_cast<quint32>(in);
    status.OutQueue = static_cast<quint32>(out);
    if (FCountersKnown) {
        serial_icounter_struct now{};
        if (::ioctl(FFd, TIOCGICOUNT, &now) == 0) {
            if (now.buf_overrun != FCounters.buf_overrun)
                status.Errors |= NrCe::RxOver;
            if (now.overrun != FCounters.overrun)
                status.Errors |= NrCe::Overrun;
            if (now.parity != FCounters.parity)
                status.Errors |= NrCe::RxParity;
            if (now.frame != FCounters.frame)
                status.Errors |= NrCe::Frame;
            if (now.brk != FCounters.brk)
                status.Errors |= NrCe::Break;
            FCounters = now;
        }
    }
    termios t{};
    int lines = 0;
    if (out > 0 && ::tcgetattr(FFd, &t) == 0 && (t.c_cflag & CRTSCTS) &&
        ::ioctl(FFd, TIOCMGET, &lines) == 0 && !(lines & TIOCM_CTS))
        status.Flags.Include(fCtlHold);
    return 0;
}

int PosixSerialPort::WaitReady(short events, qint64 deadlineMs) {
    pollfd p{FFd, events, 0};
    int timeout = -1;
    if (deadlineMs >= 0) {
        timeout = static_cast<int>(qMax<qint64>(0, deadlineMs - QDeadlineTimer::current().deadline()));
    }
    const int r = ::poll(&p, 1, timeout);
    if (r == -1)
        return errno == EINTR ? 0 : errno;
    if (r == 0)
        return ETIMEDOUT;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        return (p.revents & POLLNVAL) ? EBADF : EIO;
    return 0;
}

int PosixSerialPort::Read(char* buffer, quint32 count, quint32 timeoutMs, quint32& got) {
    got = 0;
    const qint64 deadline = timeoutMs ? QDeadlineTimer::current().deadline() + timeoutMs : -1;
    for (;;) {
        quint32 n = 0;
        const int err = ReadAvailable(buffer + got, count - got, n);
        got += n;
        if (err || got == count)
            return err;
        // A hang-up shows here: the wait reports it.
        if (const int waitErr = WaitReady(POLLIN, deadline))
            return waitErr;
    }
}

int PosixSerialPort::ReadAvailable(char* buffer, quint32 max, quint32& got) {
    got = 0;
    while (got < max) {
        const ssize_t n = ::read(FFd, buffer + got, max - got);
        if (n > 0) {
            got += static_cast<quint32>(n);
            continue;
        }
        // Without VMIN and VTIME a raw tty reads 0 when nothing waits; a hang-up reads 0 as well,
        // and the comm thread reports that.
        if (n == 0)
            return 0;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? 0 : errno;
    }
    return 0;
}

int PosixSerialPort::Write(const char* bytes, quint32 count, quint32 timeoutMs, quint32& written) {
    written = 0;
    const qint64 deadline = timeoutMs ? QDeadlineTimer::current().deadline() + timeoutMs : -1;
    while (written < count) {
        const ssize_t n = ::write(FFd, bytes + written, count - written);
        if (n > 0) {
            written += static_cast<quint32>(n);
            continue;
        }
        if (n == -1 && errno == EINTR)
            continue;
        if (n == -1 && errno != EAGAIN)
            return errno;
        if (const int err = WaitReady(POLLOUT, deadline))
            return err;
    }
    return 0;
}

int PosixSerialPort::Purge(bool input, bool output) {
    const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    return ::tcflush(FFd, which) == -1 ? errno : 0;
}

int PosixSerialPort::Drain() {
    return ::tcdrain(FFd) == -1 ? errno : 0;
}

int PosixSerialPort::ModemSignals(TModemSignals& present) {
    present = {};
    int lines = 0;
    if (::ioctl(FFd, TIOCMGET, &lines) == -1)
        return errno;
    if (lines & TIOCM_CTS)
        present.Include(msCTS);
    if (lines & TIOCM_DSR)
        present.Include(msDSR);
    if (lines & TIOCM_RNG)
        present.Include(msRing);
    if (lines & TIOCM_CAR)
        present.Include(msRLSD);
    return 0;
}

int PosixSerialPort::SetModemLine(ModemLine line, bool on) {
    const int bit = line == LineDTR ? TIOCM_DTR : TIOCM_RTS;
    return ::ioctl(FFd, on ? TIOCMBIS : TIOCMBIC, &bit) == -1 ? errno : 0;
}

int PosixSerialPort::SetBreak(bool on) {
    return ::ioctl(FFd, on ? TIOCSBRK : TIOCCBRK) == -1 ? errno : 0;
}

int PosixSerialPort::SetFlowState(bool xon) {
    return ::tcflow(FFd, xon ? TCOON : TCOOFF) == -1 ? errno : 0;
}

std::unique_ptr<LineEventSource> PosixSerialPort::CreateEventSource() {
    return std::make_unique<PosixLineWatcher>(FFd);
}

int PosixSerialPort::LowLatency(bool& on) {
    return PosixAdapterModes::LowLatency(FFd, on);
}

int PosixSerialPort::SetLowLatency(bool on) {
    return PosixAdapterModes::SetLowLatency(FFd, on);
}

int PosixSerialPort::Rs485(SerialRs485& mode) {
    return PosixAdapterModes::Rs485(FFd, mode);
}

int PosixSerialPort::SetRs485(const SerialRs485& mode) {
    return PosixAdapterModes::SetRs485(FFd, mode);
}
