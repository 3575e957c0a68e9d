#include "UucpLock.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool Alive(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

int WritePidFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd == -1)
        return errno;
    const QByteArray text =
        QByteArray::number(static_cast<qint64>(::getpid())).rightJustified(10, ' ') + '\n';
    const bool ok = ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size();
    const int err = ok ? 0 : errno;
    ::close(fd);
    if (!ok)
        ::unlink(path.constData());
    return ok ? 0 : (err ? err : EIO);
}

} // namespace

UucpLock::UucpLock(QString folder) : FFolder(std::move(folder)) {}

UucpLock::~UucpLock() {
    Release();
}

void UucpLock::SetFolder(const QString& folder) {
    Release();
    FFolder = folder;
}

QString UucpLock::DefaultFolder() {
    for (const char* folder : {"/var/lock", "/run/lock"})
        if (QFileInfo(QString::fromLatin1(folder)).isDir())
            return QString::fromLatin1(folder);
    return {};
}

QString UucpLock::LockNameFor(const QString& nodePath) {
    const QLatin1StringView dev("/dev/");
    QString name = nodePath.startsWith(dev) ? nodePath.mid(dev.size()) : QFileInfo(nodePath).fileName();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

qint64 UucpLock::ReadPid(const QString& lockPath) {
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? 0 : -1;
    const QByteArray text = file.read(64);
    bool ok = false;
    const qint64 pid = text.trimmed().toLongLong(&ok);
    if (ok)
        return pid > 0 ? pid : 0;
    // The old binary form: the PID as the machine's int.
    if (text.size() == static_cast<qsizetype>(sizeof(int))) {
        int binary = 0;
        memcpy(&binary, text.constData(), sizeof binary);
        return binary > 0 ? binary : 0;
    }
    return 0;
}

int UucpLock::Create() {
    static std::atomic<unsigned> serial{0};
    const QByteArray lock = FPath.toLocal8Bit();
    // The PID is written to a file of our own first and linked to the lock's name, so no other
    // program ever finds a lock file that is still empty.
    const QByteArray temporary =
        (FFolder + QStringLiteral("/LTMP.%1.%2").arg(::getpid()).arg(serial.fetch_add(1))).toLocal8Bit();
    if (const int err = WritePidFile(temporary))
        return err;
    const int linked = ::link(temporary.constData(), lock.constData());
    const int err = linked == 0 ? 0 : errno;
    ::unlink(temporary.constData());
    if (err == 0 || err == EEXIST)
        return err;
    // A file system without hard links: an exclusive create is the next best thing.
    return WritePidFile(lock);
}

int UucpLock::Acquire(const QString& devicePath, PortHolders::Holder& holder) {
    Release();
    holder = {};
    FPath.clear();
    if (FFolder.isEmpty())
        return 0;
    char real[PATH_MAX];
    const QByteArray path = devicePath.toLocal8Bit();
    const QString node = ::realpath(path.constData(), real) ? QString::fromLocal8Bit(real) : devicePath;
    FPath = FFolder + QLatin1Char('/') + LockNameFor(node);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int created = Create();
        if (created == 0) {
            FOwned = true;
            return 0;
        }
        const qint64 pid = ReadPid(FPath);
        if (pid == -1) {
            if (created == EEXIST)
                continue; // removed meanwhile: try again
            return 0;     // nothing to honour, and no lock can be made here
        }
        if (pid == ::getpid())
            return 0; // another port of this program: its own exclusive open decides
        if (pid == 0 || Alive(pid)) {
            holder.Pid = pid;
            holder.Program = pid ? PortHolders::ProgramOf(pid) : QString();
            return EBUSY;
        }
        // Stale: the process that made it is gone.
        if (::unlink(FPath.toLocal8Bit().constData()) == -1 && errno != ENOENT)
            return 0;
        if (created != EEXIST)
            return 0; // removed, but we cannot make our own here
    }
    return 0;
}

void UucpLock::Release() {
    if (FOwned && ReadPid(FPath) == ::getpid())
        ::unlink(FPath.toLocal8Bit().constData());
    FOwned = false;
}
