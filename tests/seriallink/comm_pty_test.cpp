#include "PtyComm.h"
#include "PtyPair.h"
#include "TestPorts.h"
#include "TnrComm.h"
#include "TnrException.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(CommPty, OpenCloseReopenAndCounters) {
    PtyComm p;
    QList<int> codes;
    CodeListener listener{&codes};
    p.comm.NotifyAdd(TnrNotifyEvent::Make(&listener, &CodeListener::H));
    int closes = 0;
    p.comm.OnClose = [&](QObject*) { ++closes; };

    p.comm.SetActive(true);
    ASSERT_TRUE(p.comm.GetActive());
    EXPECT_GE(p.comm.GetHandle(), 0);
    p.comm.SendString("abc");
    EXPECT_EQ(p.pty.Read(3), QByteArray("abc"));
    EXPECT_EQ(p.comm.GetTotalSent(), 3u);
    p.comm.SetActive(false);
    EXPECT_FALSE(p.comm.GetActive());
    EXPECT_EQ(closes, 1);
    p.comm.SetActive(true);
    EXPECT_EQ(p.comm.GetTotalSent(), 0u);
    EXPECT_EQ(p.comm.GetTotalReceived(), 0u);
    p.comm.Close();
    EXPECT_EQ(codes, (QList<int>{2, 1, 2, 1}));
}

TEST(CommPty, SecondOpenerIsRefusedHereAndInAnotherProcess) {
    PtyComm p;
    p.comm.SetActive(true);
    ASSERT_TRUE(p.comm.GetActive());

    TnrComm second;
    second.SetPortEnumerator(FedPortList::FromComNames({}));
    second.SetComPortNo(second.AddExtraPort(QStringLiteral("pty"), p.pty.SlavePath()));
    try {
        second.SetActive(true);
        FAIL() << "second open succeeded";
    } catch (const TnrException& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Device \"pty\" Open Error !!!\r")))
            << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("another program")));
    }
    EXPECT_FALSE(second.GetActive());

    const QByteArray path = p.pty.SlavePath().toLocal8Bit();
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        _exit(fd != -1 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(CommPty, ReadStringTakesEverythingWaitingAndNeverReadsWhenNothingWaits) {
    PtyComm p;
    auto port = std::make_unique<CountingPort>();
    CountingPort* counting = port.get();
    p.comm.SetSerialDevice(std::move(port));
    p.comm.SetActive(true);
    ASSERT_TRUE(p.comm.GetActive());
    EXPECT_TRUE(p.comm.ReadString().isEmpty());
    EXPECT_EQ(counting->Reads, 0);

    p.pty.Write("hello\r");
    ASSERT_TRUE(WaitUntil([&] { return p.comm.GetReadyForRead() == 6; }));
    EXPECT_EQ(p.comm.ReadString(), QByteArray("hello\r"));
    EXPECT_EQ(counting->Reads, 1);
    EXPECT_EQ(p.comm.GetReadyForRead(), 0u);
    EXPECT_EQ(p.comm.GetTotalReceived(), 6u);
    EXPECT_TRUE(p.comm.ReadString().isEmpty());
    EXPECT_EQ(counting->Reads, 1);
}

TEST(CommPty, SendAndClearQueues) {
    PtyComm p;
    int afterSend = 0;
    p.comm.OnAfterSend = [&](TnrCustomComm*) { ++afterSend; };
    p.comm.SetActive(true);
    p.comm.SendString(QByteArray());
    EXPECT_EQ(afterSend, 0);
    p.comm.SendChar('$');
    p.comm.SendString("01M\r");
    EXPECT_EQ(afterSend, 2);
    EXPECT_EQ(p.pty.Read(5), QByteArray("$01M\r"));
    const QByteArray big(3000, 'x');
    p.comm.SendData(big.constData(), static_cast<quint32>(big.size()));
    EXPECT_EQ(p.pty.Read(3000).size(), 3000);
    EXPECT_TRUE(WaitUntil([&] { return p.comm.GetNotYetSend() == 0; }));
    EXPECT_EQ(p.comm.GetTotalSent(), 5u + 3000u);
    p.pty.Write("stale");
    ASSERT_TRUE(WaitUntil([&] { return p.comm.GetReadyForRead() == 5; }));
    p.comm.ClearDeviceInput();
    EXPECT_EQ(p.comm.GetReadyForRead(), 0u);
}

TEST(CommPty, SendAheadCharGoesOutAndCountsOnlyWhenOpen) {
    PtyComm p;
    p.comm.SendAheadChar('?');
    EXPECT_EQ(p.comm.GetTotalSent(), 0u);
    p.comm.SetActive(true);
    p.comm.SendAheadChar('!');
    EXPECT_EQ(p.pty.Read(1), QByteArray("!"));
    EXPECT_EQ(p.comm.GetTotalSent(), 1u);
}

// Pseudo-terminals take only 8 data bits without parity (the byte-size and parity mapping is
// covered by the TermiosMapping tests); a refused format must still leave the line raw.
TEST(CommPty, BaudAndFormatReachTheLine) {
    PtyComm p;
    p.comm.SetBaudRate(1200);
    p.comm.SetByteSize(7);
    p.comm.SetParity(pEven);
    p.comm.SetStopBits(sbTwo);
    p.comm.SetActive(true);
    termios t = p.pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B1200));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_FALSE(t.c_lflag & ICANON);

    p.comm.SetBaudRate(115200); // takes effect at once on an open port
    t = p.pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B115200));
    p.comm.SetBaudRate(12345);
    EXPECT_EQ(p.comm.BaudRate(), 12345u);
    p.comm.SetStreamProtocol(spHardware);
    EXPECT_TRUE(p.pty.SlaveSettings().c_cflag & CRTSCTS);
    EXPECT_EQ(p.comm.StreamProtocol(), spHardware);
    p.comm.SetStreamProtocol(spNone);
    EXPECT_FALSE(p.pty.SlaveSettings().c_cflag & CRTSCTS);
    EXPECT_EQ(p.comm.StreamProtocol(), spNone);
    EXPECT_EQ(p.comm.Dcb().Flags & (NrDcb::fOutxCtsFlow | NrDcb::fRtsControlMask), 0u);
}

TEST(CommPty, SettingsFoundAtOpenAreRestoredAtClose) {
    PtyComm p;
    const termios before = p.pty.SlaveSettings();
    p.comm.SetActive(true);
    EXPECT_FALSE(p.pty.SlaveSettings().c_lflag & ICANON);
    p.comm.SetActive(false);
    const termios after = p.pty.SlaveSettings();
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
}

TEST(CommPty, ChangingThePortNumberReopensAnOpenPort) {
    PtyComm p;
    PtyPair other;
    const quint16 otherNumber = p.comm.AddExtraPort(QStringLiteral("other"), other.SlavePath());
    p.comm.SetActive(true);
    p.comm.SendString("x");
    ASSERT_EQ(p.pty.Read(1), QByteArray("x"));
    p.comm.SetComPortNo(otherNumber);
    ASSERT_TRUE(p.comm.GetActive());
    EXPECT_EQ(p.comm.GetTotalSent(), 0u);
    p.comm.SendString("y");
    EXPECT_EQ(other.Read(1), QByteArray("y"));
    p.comm.SetActive(false);
    p.comm.SetComPortNo(p.number);
    EXPECT_FALSE(p.comm.GetActive());
}

TEST(CommPty, OpenFailureNamesThePortAndLeavesItClosed) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    comm.SetComPortNo(comm.AddExtraPort(QStringLiteral("missing"), QStringLiteral("/dev/does-not-exist-7")));
    try {
        comm.SetActive(true);
        FAIL() << "opened a missing port";
    } catch (const TnrException& e) {
        EXPECT_TRUE(e.Message().startsWith(
            QStringLiteral("Device \"missing\" Open Error !!!\rNo such file or directory")))
            << e.Message().toStdString();
        EXPECT_EQ(comm.LastOpenError(), e.Message());
    }
    EXPECT_FALSE(comm.GetActive());

    bool offered = false;
    comm.OnFatalError = [&](QObject*, quint32 code, quint32 detail, const QString&, bool& raise) {
        offered = code == 1 && detail == 0;
        raise = false;
    };
    EXPECT_NO_THROW(comm.SetActive(true));
    EXPECT_TRUE(offered);
    EXPECT_FALSE(comm.GetActive());
}

TEST(CommPty, PortNumberWithoutAPathFailsWithItsComName) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    comm.SetComPortNo(50000);
    EXPECT_EQ(comm.GetPortName(), QStringLiteral("COM50000"));
    EXPECT_THROW(comm.SetActive(true), TnrException);
}

TEST(CommPty, ProviderGivesThePathWhenThePortOpens) {
    PtyPair pty;
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    int asked = 0;
    const quint16 n = comm.AddExtraPort(QStringLiteral("TKM-9214 simulator"), [&] {
        ++asked;
        return pty.SlavePath();
    });
    comm.SetComPortNo(n);
    EXPECT_EQ(asked, 0);
    comm.SetActive(true);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(comm.GetActive());
    EXPECT_EQ(comm.GetPortName(), QStringLiteral("TKM-9214 simulator"));
}

TEST(CommPty, DeviceVanishingClosesThePortAndItCanReopen) {
    auto pty = std::make_unique<PtyPair>();
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    QString path = pty->SlavePath();
    const quint16 n = comm.AddExtraPort(QStringLiteral("usb"), [&] { return path; });
    comm.SetComPortNo(n);
    QList<int> codes;
    CodeListener listener{&codes};
    comm.NotifyAdd(TnrNotifyEvent::Make(&listener, &CodeListener::H));
    int closes = 0;
    comm.OnClose = [&](QObject*) { ++closes; };
    comm.SetActive(true);
    ASSERT_TRUE(comm.GetActive());

    pty->CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return codes.contains(1); }));
    EXPECT_FALSE(comm.GetActive());
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(comm.CommThreadRunning());
    EXPECT_FALSE(comm.MsgThreadRunning());

    pty = std::make_unique<PtyPair>(); // the device returns
    path = pty->SlavePath();
    comm.SetActive(true);
    ASSERT_TRUE(comm.GetActive());
    comm.SendString("ok");
    EXPECT_EQ(pty->Read(2), QByteArray("ok"));
    comm.NotifyDelete(TnrNotifyEvent::Make(&listener, &CodeListener::H)); // the listener goes first
}

} // namespace
