#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

PtyPair::PtyPair() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&FMaster, &slave, name, nullptr, nullptr) == 0) {
        FSlavePath = QString::fromLocal8Bit(name);
        ::close(slave);
        ::fcntl(FMaster, F_SETFD, FD_CLOEXEC);
    }
}

PtyPair::~PtyPair() {
    CloseMaster();
}

void PtyPair::Write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(FMaster, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
}

QByteArray PtyPair::Read(int atLeast, int timeoutMs) {
    QByteArray out;
    const QDeadlineTimer deadline(timeoutMs);
    while (out.size() < atLeast && !deadline.hasExpired()) {
        pollfd p{FMaster, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(FMaster, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, n);
    }
    return out;
}

termios PtyPair::SlaveSettings() const {
    termios t{};
    ::tcgetattr(FMaster, &t); // on a pty master this reads the slave's settings
    return t;
}

void PtyPair::CloseMaster() {
    if (FMaster != -1)
        ::close(FMaster);
    FMaster = -1;
}

QByteArray TestPattern(qsizetype size, int start) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((start + i) % 251);
    return bytes;
}

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}
