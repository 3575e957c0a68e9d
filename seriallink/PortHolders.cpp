#include "PortHolders.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsNumber(const char* name) {
    if (!*name)
        return false;
    for (const char* p = name; *p; ++p)
        if (*p < '0' || *p > '9')
            return false;
    return true;
}

// The pseudo-terminal number of a node below /dev/pts, else -1.
int PtyIndexOf(const QString& nodePath) {
    const QLatin1StringView pts("/dev/pts/");
    bool ok = false;
    const int index = nodePath.startsWith(pts) ? nodePath.mid(pts.size()).toInt(&ok) : -1;
    return ok ? index : -1;
}

// The pseudo-terminal a master descriptor serves, from its fdinfo; -1 when it does not say.
int MasterIndex(const QByteArray& fdinfo) {
    QFile info(QString::fromLocal8Bit(fdinfo));
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : info.readAll().split('\n'))
        if (line.startsWith("tty-index:"))
            return line.mid(10).trimmed().toInt();
    return -1;
}

// Whether the process holds the device, not counting the other end of a pseudo-terminal (ptyIndex
// >= 0). Only links into /dev are followed, so a descriptor on a hung network file system cannot
// block the scan.
bool HoldsDevice(const QByteArray& processDir, dev_t device, int ptyIndex) {
    const QByteArray fdDir = processDir + "/fd";
    DIR* dir = ::opendir(fdDir.constData());
    if (!dir)
        return false; // gone, or not ours to see
    bool holds = false;
    bool otherEnd = false;
    while (const dirent* e = ::readdir(dir)) {
        if (!IsNumber(e->d_name))
            continue;
        const QByteArray entry = fdDir + '/' + e->d_name;
        char target[64];
        const ssize_t n = ::readlink(entry.constData(), target, sizeof target - 1);
        if (n < 5 || qstrncmp(target, "/dev/", 5) != 0)
            continue;
        target[n] = '\0';
        if (ptyIndex >= 0 && (qstrcmp(target, "/dev/ptmx") == 0 || qstrcmp(target, "/dev/pts/ptmx") == 0)) {
            otherEnd = otherEnd || MasterIndex(processDir + "/fdinfo/" + e->d_name) == ptyIndex;
            continue;
        }
        struct stat st {};
        if (!holds && ::stat(entry.constData(), &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == device) {
            holds = true;
            if (ptyIndex < 0)
                break;
        }
    }
    ::closedir(dir);
    return holds && !otherEnd;
}

} // namespace

QList<PortHolders::Holder> PortHolders::Find(const QString& devicePath, const QString& procRoot) {
    QList<Holder> holders;
    struct stat node {};
    if (::stat(devicePath.toLocal8Bit().constData(), &node) == -1 || !S_ISCHR(node.st_mode))
        return holders;
    const QByteArray root = procRoot.toLocal8Bit();
    DIR* proc = ::opendir(root.constData());
    if (!proc)
        return holders;
    const qint64 self = ::getpid();
    const int ptyIndex = PtyIndexOf(QFileInfo(devicePath).canonicalFilePath());
    while (const dirent* e = ::readdir(proc)) {
        if (!IsNumber(e->d_name))
            continue;
        const qint64 pid = QByteArray(e->d_name).toLongLong();
        if (pid == self)
            continue;
        if (HoldsDevice(root + '/' + e->d_name, node.st_rdev, ptyIndex))
            holders.append({pid, ProgramOf(pid, procRoot)});
    }
    ::closedir(proc);
    return holders;
}

QString PortHolders::ProgramOf(qint64 pid, const QString& procRoot) {
    QFile comm(procRoot + QLatin1Char('/') + QString::number(pid) + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll().trimmed());
}

QString PortHolders::Describe(const Holder& holder) {
    if (holder.Program.isEmpty())
        return QStringLiteral("PID %1").arg(holder.Pid);
    return QStringLiteral("%1 (PID %2)").arg(holder.Program).arg(holder.Pid);
}

QString PortHolders::Describe(const QList<Holder>& holders) {
    QStringList parts;
    for (const Holder& h : holders)
        parts << Describe(h);
    return parts.join(QStringLiteral(", "));
}
