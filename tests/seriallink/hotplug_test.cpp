// A device that goes away under an open port, and comes back: the port closes and says so once,
// on the owner's thread; the port list drops the device and offers it again when it returns.
#include "PtyComm.h"
#include "SysfsPortList.h"
#include "TnrDeviceBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A /sys/class/tty and a /dev of our own with one USB adapter, ttyUSB0, which is a pseudo-terminal.
struct ScratchMachine {
    ScratchMachine() {
        QDir().mkpath(Sys() + QStringLiteral("/ttyUSB0/device/driver"));
        QDir().mkpath(Dev());
    }
    QString Sys() const { return root.filePath(QStringLiteral("sys")); }
    QString Dev() const { return root.filePath(QStringLiteral("dev")); }
    QString Node() const { return Dev() + QStringLiteral("/ttyUSB0"); }
    bool Plug(const PtyPair& pty) const { return QFile::link(pty.SlavePath(), Node()); }
    bool Pull() const { return QFile::remove(Node()); }
    QTemporaryDir root;
};

TEST(HotPlug, DeviceLostIsToldOnceOnTheOwnersThreadAfterThePortClosed) {
    PtyComm p;
    QStringList lost;
    bool activeWhenTold = true;
    QThread* toldOn = nullptr;
    p.comm.OnDeviceLost = [&](TnrCustomComm* com, const QString& text) {
        lost << text;
        activeWhenTold = com->GetActive();
        toldOn = QThread::currentThread();
    };
    int closes = 0;
    p.comm.OnClose = [&](QObject*) { ++closes; };
    p.comm.SetActive(true);
    p.comm.SendString("before");
    p.pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return !lost.isEmpty(); }));
    p.comm.SendString("after"); // the write path sees the failure as well
    WaitUntil([] { return false; }, 50);
    EXPECT_EQ(lost, QStringList{QStringLiteral(
                        "The device pty went away (Input/output error); the port is closed.")});
    EXPECT_FALSE(activeWhenTold);
    EXPECT_EQ(toldOn, QThread::currentThread());
    EXPECT_EQ(closes, 1);

    PtyComm own; // closing a port oneself is no loss
    own.comm.OnDeviceLost = [&](TnrCustomComm*, const QString& text) { lost << text; };
    own.comm.SetActive(true);
    own.comm.SetActive(false);
    EXPECT_EQ(lost.size(), 1);
}

TEST(HotPlug, PulledAdapterLeavesThePortListAndIsOfferedAgainWhenBack) {
    ScratchMachine machine;
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(machine.Plug(*pty));
    QTemporaryDir locks;
    TnrComm comm;
    comm.SetLockFolder(locks.path());
    comm.SetStreamProtocol(spNone);
    comm.SetPortEnumerator(std::make_shared<SysfsPortList>(machine.Sys(), machine.Dev()));
    comm.SetDeviceWatchDirectory(machine.Dev());
    comm.SetComPortNo(1001); // ttyUSB0
    TnrDeviceBox box;
    box.SetComm(&comm);
    ASSERT_EQ(box.currentText(), machine.Node());
    ASSERT_TRUE(comm.WatchingDeviceChanges());
    int lost = 0;
    comm.OnDeviceLost = [&](TnrCustomComm*, const QString&) { ++lost; };
    comm.SetActive(true);
    ASSERT_TRUE(comm.GetActive());

    ASSERT_TRUE(machine.Pull());
    pty->CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return lost == 1 && box.count() == 0; }));
    EXPECT_FALSE(comm.GetActive());
    EXPECT_EQ(comm.GetDeviceIndex(), -1);

    pty = std::make_unique<PtyPair>(); // the same adapter, plugged in again
    ASSERT_TRUE(machine.Plug(*pty));
    ASSERT_TRUE(WaitUntil([&] { return box.currentText() == machine.Node(); }));
    EXPECT_GE(comm.GetDeviceIndex(), 0);
    comm.SetActive(true);
    ASSERT_TRUE(comm.GetActive());
    comm.SendString("back");
    EXPECT_EQ(pty->Read(4), QByteArray("back"));
    EXPECT_EQ(lost, 1);
}

} // namespace
