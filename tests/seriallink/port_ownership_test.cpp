// Port ownership as serial programs on Linux share it: UUCP lock files, and programs that hold a
// device without one.
#include "ChildProcess.h"
#include "PortHolders.h"
#include "PtyComm.h"
#include "TnrException.h"
#include "UucpLock.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QByteArray AsciiPid(qint64 pid) {
    return QByteArray::number(pid).rightJustified(10, ' ') + '\n';
}

void WriteFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString LockFileOf(const PtyComm& p) {
    return p.locks.filePath(UucpLock::LockNameFor(QFileInfo(p.pty.SlavePath()).canonicalFilePath()));
}

// The text of the exception an open raises, empty when the port opened.
QString OpenFailure(TnrComm& comm) {
    try {
        comm.SetActive(true);
    } catch (const TnrException& e) {
        return e.Message();
    }
    return {};
}

TEST(UucpLock, LockNamesFollowTheConvention) {
    const struct {
        const char* node;
        const char* lock;
    } cases[] = {
        {"/dev/ttyUSB0", "LCK..ttyUSB0"},
        {"/dev/ttyS1", "LCK..ttyS1"},
        {"/dev/pts/3", "LCK..pts_3"},
        {"/tmp/links/ttyACM0", "LCK..ttyACM0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UucpLock::LockNameFor(QString::fromLatin1(c.node)), QString::fromLatin1(c.lock)) << c.node;
}

TEST(UucpLock, ReadsBothPidForms) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LCK..ttyS0"));
    EXPECT_EQ(UucpLock::ReadPid(path), -1);
    WriteFile(path, AsciiPid(4711));
    EXPECT_EQ(UucpLock::ReadPid(path), 4711);
    const int binary = 815;
    WriteFile(path, QByteArray(reinterpret_cast<const char*>(&binary), sizeof binary));
    EXPECT_EQ(UucpLock::ReadPid(path), 815);
    WriteFile(path, "not a pid\n");
    EXPECT_EQ(UucpLock::ReadPid(path), 0);
    WriteFile(path, QByteArray());
    EXPECT_EQ(UucpLock::ReadPid(path), 0);
}

TEST(PortOwnership, LockFileNamesUsWhileThePortIsOpen) {
    PtyComm p;
    const QString lock = LockFileOf(p);
    p.comm.SetActive(true);
    ASSERT_TRUE(p.comm.GetActive());
    EXPECT_EQ(ReadFile(lock), AsciiPid(::getpid()));
    EXPECT_EQ(QDir(p.locks.path()).entryList(QDir::Files), QStringList{QFileInfo(lock).fileName()});
    p.comm.SetActive(false);
    EXPECT_FALSE(QFile::exists(lock));

    p.comm.SetActive(true);
    p.pty.CloseMaster(); // the device goes away: the lock goes with the port
    ASSERT_TRUE(WaitUntil([&] { return !p.comm.GetActive(); }));
    EXPECT_FALSE(QFile::exists(lock));
}

TEST(PortOwnership, LockOfALiveProgramRefusesThePortAndNamesIt) {
    PtyComm p;
    ChildProcess other;
    ASSERT_GT(other.Pid(), 0);
    const QString lock = LockFileOf(p);
    WriteFile(lock, AsciiPid(other.Pid()));
    const QString text = OpenFailure(p.comm);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Device \"pty\" Open Error !!!\r"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("sleep (PID %1)").arg(other.Pid()))) << text.toStdString();
    EXPECT_TRUE(text.contains(lock)) << text.toStdString();
    EXPECT_FALSE(p.comm.GetActive());
    EXPECT_EQ(ReadFile(lock), AsciiPid(other.Pid())); // not ours to remove

    other.Stop(); // the program ends without removing its lock: the lock is stale now
    EXPECT_EQ(OpenFailure(p.comm), QString());
    EXPECT_TRUE(p.comm.GetActive());
    EXPECT_EQ(ReadFile(lock), AsciiPid(::getpid()));
}

TEST(PortOwnership, StaleAndUnreadableLocks) {
    PtyComm p;
    const QString lock = LockFileOf(p);
    WriteFile(lock, AsciiPid(DeadPid()));
    EXPECT_EQ(OpenFailure(p.comm), QString());
    EXPECT_EQ(ReadFile(lock), AsciiPid(::getpid()));
    p.comm.SetActive(false);

    // A lock that names no process may be one being written: refuse, and say which file it is.
    WriteFile(lock, "garbage");
    const QString text = OpenFailure(p.comm);
    EXPECT_TRUE(text.contains(QStringLiteral("names no program"))) << text.toStdString();
    EXPECT_TRUE(text.contains(lock)) << text.toStdString();
    EXPECT_EQ(ReadFile(lock), QByteArray("garbage"));
}

TEST(PortOwnership, AProgramHoldingThePortWithoutALockIsNamedOnceNotRefused) {
    PtyComm p;
    ChildProcess holder(p.pty.SlavePath());
    ASSERT_GT(holder.Pid(), 0);
    QStringList warnings;
    p.comm.OnWarning = [&](TnrCustomComm* com, const QString& text) {
        EXPECT_TRUE(com->GetActive());
        warnings << text;
    };
    p.comm.SetActive(true);
    ASSERT_TRUE(p.comm.GetActive());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("sleep (PID %1)").arg(holder.Pid())))
        << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].startsWith(QStringLiteral("pty is also open in "))) << warnings[0].toStdString();
    p.comm.SetActive(false);
    p.comm.SetActive(true);
    EXPECT_EQ(warnings.size(), 1);

    holder.Stop();
    PtyComm quiet;
    quiet.comm.OnWarning = [&](TnrCustomComm*, const QString& text) { warnings << text; };
    quiet.comm.SetActive(true);
    EXPECT_EQ(warnings.size(), 1);
}

TEST(PortOwnership, RefusalNamesTheProgramHoldingThePortExclusively) {
    const char* flockProgram = "/usr/bin/flock";
    if (::access(flockProgram, X_OK) != 0)
        GTEST_SKIP() << "no flock program";
    PtyComm p;
    // flock(1) opens the device, locks it and runs sleep.
    ChildProcess flock({}, {flockProgram, "-n", p.pty.SlavePath().toLocal8Bit(), "/bin/sleep", "60"});
    ASSERT_GT(flock.Pid(), 0);
    const pid_t pid = flock.Pid();
    const QByteArray slave = p.pty.SlavePath().toLocal8Bit();
    auto locked = [&] {
        const int fd = ::open(slave.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) == -1;
        ::close(fd);
        return held;
    };
    ASSERT_TRUE(WaitUntil(locked));
    const QString text = OpenFailure(p.comm);
    EXPECT_TRUE(text.contains(QStringLiteral("held by flock (PID %1)").arg(pid))) << text.toStdString();
    EXPECT_FALSE(QFile::exists(LockFileOf(p))); // a refused open leaves no lock behind
}

TEST(PortHolders, FindsProcessesWithTheDeviceOpenButNotThisOne) {
    PtyPair pty;
    const int own = ::open(pty.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    EXPECT_TRUE(PortHolders::Find(pty.SlavePath()).isEmpty());
    {
        ChildProcess holder(pty.SlavePath());
        const QList<PortHolders::Holder> found = PortHolders::Find(pty.SlavePath());
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found[0].Pid, holder.Pid());
        EXPECT_EQ(found[0].Program, QStringLiteral("sleep"));
        EXPECT_EQ(PortHolders::Describe(found), QStringLiteral("sleep (PID %1)").arg(holder.Pid()));
    }
    EXPECT_TRUE(PortHolders::Find(pty.SlavePath()).isEmpty());
    EXPECT_EQ(PortHolders::Describe({{12, QString()}}), QStringLiteral("PID 12"));
    ::close(own);
}

// A simulator keeps the slave of its pseudo-terminal open beside the master: it is the other end,
// not another user of the port.
TEST(PortHolders, TheOtherEndOfAPseudoTerminalDoesNotCount) {
    PtyPair pty;
    PtyPair unrelated;
    ChildProcess otherEnd(pty.SlavePath(), {"/bin/sleep", "60"}, pty.Master());
    EXPECT_TRUE(PortHolders::Find(pty.SlavePath()).isEmpty());
    ChildProcess elsewhere(pty.SlavePath(), {"/bin/sleep", "60"}, unrelated.Master());
    const QList<PortHolders::Holder> found = PortHolders::Find(pty.SlavePath());
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].Pid, elsewhere.Pid());
}

} // namespace
