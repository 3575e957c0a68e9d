#include "PtyComm.h"
#include "PtyPair.h"
#include "TestPorts.h"
#include "TnrComm.h"
#include "TnrException.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Threads, MainWindowSettingsLeaveReceivedBytesForReadString) {
    PtyComm p;
    p.comm.SetActive(true);
    ASSERT_TRUE(p.comm.CommThreadRunning());
    ASSERT_TRUE(p.comm.MsgThreadRunning());
    p.pty.Write("!01TKM-9214\r");
    ASSERT_TRUE(WaitUntil([&] { return p.comm.CommThreadWakeups() > 0 && p.comm.GetReadyForRead() == 12; }));
    // Let any forwarded event reach the dispatcher: it must take nothing.
    WaitUntil([] { return false; }, 50);
    EXPECT_EQ(p.comm.ReadString(), QByteArray("!01TKM-9214\r"));
}

TEST(Threads, UnreadBytesDoNotKeepTheCommThreadBusy) {
    PtyComm p;
    p.comm.SetActive(true);
    p.pty.Write("abc");
    ASSERT_TRUE(WaitUntil([&] { return p.comm.CommThreadWakeups() >= 1; }));
    WaitUntil([] { return false; }, 200); // bytes stay unread meanwhile
    EXPECT_LE(p.comm.CommThreadWakeups(), 3u);
    p.pty.Write("d");
    ASSERT_TRUE(WaitUntil([&] { return p.comm.GetReadyForRead() == 4; }));
    EXPECT_EQ(p.comm.ReadString(), QByteArray("abcd"));
}

TEST(Threads, AfterReceiveGetsEveryBlockAndReadStringFindsNone) {
    PtyComm p;
    QByteArray received;
    int calls = 0;
    p.comm.SetTraceStates({tsRxChar});
    p.comm.OnAfterReceive = [&](TnrCustomComm* com, const char* buffer, quint32 n) {
        EXPECT_EQ(com, &p.comm);
        received.append(buffer, n);
        ++calls;
    };
    p.comm.SetActive(true);
    p.pty.Write("first");
    ASSERT_TRUE(WaitUntil([&] { return received == "first"; }));
    p.pty.Write("second");
    ASSERT_TRUE(WaitUntil([&] { return received == "firstsecond"; }));
    EXPECT_GE(calls, 2);
    EXPECT_TRUE(p.comm.ReadString().isEmpty());
    EXPECT_EQ(p.comm.GetTotalReceived(), 11u);
}

TEST(Threads, ListEventGetsTheMatchAndWhatFollowsAndCanSuppressAfterReceive) {
    PtyComm p;
    p.comm.SetTraceStates({tsRxChar});
    p.comm.SetEventListOnLine(true);
    p.comm.GetEventList().AddNewEvent("OK");
    QByteArray buffer;
    int eventNo = -1;
    int received = -1;
    int afterReceive = 0;
    p.comm.OnListEvent = [&](TnrCustomComm*, int no, char* buf, int n, bool& handled) {
        eventNo = no;
        received = n;
        buffer = QByteArray(buf, n + 1);
        handled = true;
    };
    p.comm.OnAfterReceive = [&](TnrCustomComm*, const char*, quint32) { ++afterReceive; };
    p.comm.SetActive(true);
    p.pty.Write("xxOKyy");
    ASSERT_TRUE(WaitUntil([&] { return eventNo >= 0; }));
    EXPECT_EQ(eventNo, 0);
    EXPECT_EQ(received, 4);
    EXPECT_EQ(buffer, QByteArray("OKyy\0", 5));
    EXPECT_TRUE(WaitUntil([&] { return p.comm.GetTotalReceived() == 6; }));
    EXPECT_EQ(afterReceive, 0);
}

TEST(EventList, FirstCompletingStringWinsAndNoFallback) {
    TEventList list;
    list.AddNewEvent("AB");
    list.AddNewEvent("B");
    EXPECT_EQ(list.IsEvent('A'), -1);
    EXPECT_EQ(list.IsEvent('B'), 0); // "B" completes on the same byte but is not reported
    EXPECT_EQ(list.GetEvent(1).MatchPos, 0u);
    EXPECT_EQ(list.IsEvent('B'), 1);

    TEventList aab;
    aab.AddNewEvent("aab");
    int found = -1;
    for (char c : QByteArray("aaab"))
        found = qMax(found, aab.IsEvent(c));
    EXPECT_EQ(found, -1);

    aab.PrepareBuffer(8);
    EXPECT_GE(aab.Capacity(), 3u + 8u + 4u);
    EXPECT_EQ(aab.SetBufferByEvent(0, "xy", 2), 5u);
    EXPECT_EQ(QByteArray(aab.Buffer(), 6), QByteArray("aabxy\0", 6));
}

TEST(Threads, LineErrorGoesToCommErrorWithoutReceiveProcessing) {
    auto device = std::make_unique<CountingPort>();
    CountingPort* port = device.get();
    PtyComm p(std::move(device));
    p.comm.SetTraceStates({tsRxChar});
    int afterReceive = 0;
    quint32 code = 0;
    p.comm.OnAfterReceive = [&](TnrCustomComm*, const char*, quint32) { ++afterReceive; };
    p.comm.OnCommError = [&](TnrCustomComm*, quint32 commCode, quint32 sysError, TComStateFlags, bool&) {
        code = commCode;
        EXPECT_EQ(sysError, 0u);
    };
    p.comm.SetActive(true);
    // Errors at every look: a second receive event for the same byte (a spurious wake-up of the
    // line) finds them too, so the byte is never taken.
    port->KeepErrors = true;
    port->InjectErrors = NrCe::RxParity | NrCe::Frame;
    p.pty.Write("z");
    ASSERT_TRUE(WaitUntil([&] { return code != 0; }));
    EXPECT_EQ(code, NrCe::RxParity | NrCe::Frame);
    EXPECT_EQ(afterReceive, 0);
    EXPECT_EQ(p.comm.GetReadyForRead(), 1u); // the byte stays queued
}

TEST(Threads, CloseEndsBothThreadsAndReopenStartsFreshOnes) {
    PtyComm p;
    p.comm.SetActive(true);
    EXPECT_TRUE(p.comm.CommThreadRunning());
    EXPECT_TRUE(p.comm.MsgThreadRunning());
    p.pty.Write("pending"); // a hand-over may be in flight while closing
    p.comm.SetActive(false);
    EXPECT_FALSE(p.comm.CommThreadRunning());
    EXPECT_FALSE(p.comm.MsgThreadRunning());
    QByteArray got;
    p.comm.SetTraceStates({tsRxChar});
    p.comm.OnAfterReceive = [&](TnrCustomComm*, const char* b, quint32 n) { got.append(b, n); };
    p.comm.SetActive(true);
    p.pty.Write("again");
    EXPECT_TRUE(WaitUntil([&] { return got.endsWith("again"); }));
}

TEST(Threads, CloseFromInsideAHandlerDoesNotDeadlock) {
    PtyComm p;
    p.comm.SetTraceStates({tsRxChar});
    p.comm.OnAfterReceive = [&](TnrCustomComm* com, const char*, quint32) { com->Close(); };
    p.comm.SetActive(true);
    p.pty.Write("x");
    ASSERT_TRUE(WaitUntil([&] { return !p.comm.GetActive(); }));
    EXPECT_FALSE(p.comm.MsgThreadRunning());
}

TEST(Threads, VanishingDeviceWhileEventsFlowClosesWithCodeOne) {
    PtyComm p;
    QList<int> codes;
    CodeListener listener{&codes};
    p.comm.NotifyAdd(TnrNotifyEvent::Make(&listener, &CodeListener::H));
    p.comm.SetTraceStates({tsRxChar, tsTxEmpty});
    p.comm.OnAfterReceive = [](TnrCustomComm*, const char*, quint32) {};
    p.comm.SetActive(true);
    p.pty.Write("data before the plug is pulled");
    p.comm.SendString("out");
    p.pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return codes.contains(1); }));
    EXPECT_FALSE(p.comm.GetActive());
    EXPECT_FALSE(p.comm.CommThreadRunning());
    EXPECT_EQ(codes.count(1), 1);
}

TEST(Threads, OutputEmptyEventFiresAfterSend) {
    PtyComm p;
    int afterSend = 0;
    QList<TTraceStates> traces;
    p.comm.SetTraceStates({tsTxEmpty});
    p.comm.OnAfterSend = [&](TnrCustomComm*) { ++afterSend; };
    p.comm.OnTraceState = [&](QObject*, TTraceStates s) { traces.append(s); };
    p.comm.SetActive(true);
    // Open's own Close and the end of Open both run the monitor update with [tsTxEmpty].
    EXPECT_EQ(traces, (QList<TTraceStates>{{tsTxEmpty}, {tsTxEmpty}}));
    p.comm.SendString("abc");
    EXPECT_EQ(afterSend, 1);
    EXPECT_TRUE(WaitUntil([&] { return afterSend == 2; })); // and once from the output-empty event
}

TEST(Threads, DispatcherExceptionsAreShownNotRaised) {
    PtyComm p;
    QStringList shown;
    TnrBaseIO::SetErrorPresenter([&](const QString&, const QString& text) { shown << text; });
    p.comm.SetTraceStates({tsRxChar});
    p.comm.OnAfterReceive = [](TnrCustomComm*, const char*, quint32) {
        throw TnrException(QStringLiteral("bad reply"));
    };
    p.comm.SetActive(true);
    p.pty.Write("x");
    EXPECT_TRUE(WaitUntil([&] { return !shown.isEmpty(); }));
    TnrBaseIO::SetErrorPresenter(nullptr);
    EXPECT_EQ(shown, QStringList{QStringLiteral("bad reply")});
    EXPECT_TRUE(p.comm.GetActive());
}

class CheckBoxLike : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Checked MEMBER Checked)
public:
    bool Checked = true;
};

TEST(Monitors, CheckedPropertyIsSetWhereItExists) {
    CheckBoxLike box;
    QObject plain;
    TnrCustomComm::DoCheckMonitor(&box, false);
    TnrCustomComm::DoCheckMonitor(&plain, true);
    EXPECT_FALSE(box.Checked);
    EXPECT_FALSE(plain.property("Checked").isValid());

    PtyComm p;
    CheckBoxLike ring;
    ring.Checked = false;
    CheckBoxLike cts;
    p.comm.SetMonitorRing(&ring);
    p.comm.SetMonitorCTS(&cts);
    p.comm.DoTraceStates(&p.comm, {tsRing});
    EXPECT_TRUE(ring.Checked);
    EXPECT_FALSE(cts.Checked); // closed port: no modem lines
}

TEST(Waits, WaitForBytesLeavesTheBytesQueued) {
    PtyComm p;
    p.comm.SetTraceStates({tsRxChar, tsCTS});
    int afterReceive = 0;
    p.comm.OnAfterReceive = [&](TnrCustomComm*, const char*, quint32) { ++afterReceive; };
    p.comm.SetActive(true);
    p.comm.OnAfterReceive = nullptr; // only the trace state would make the dispatcher read
    p.pty.Write("123");
    EXPECT_FALSE(p.comm.WaitForBytes(5, 100));
    EXPECT_EQ(p.comm.GetReadyForRead(), 3u);
    EXPECT_EQ(p.comm.TraceStates(), (TTraceStates{tsRxChar, tsCTS}));
    EXPECT_TRUE(p.comm.WaitForBytes(3, 1000));
    EXPECT_FALSE(p.comm.WaitForSignal(msDSR, 20)); // pseudo-terminals have no modem lines
}

TEST(Config, SavedRecordLoadsAndAWrongSizeChangesNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sub/nrcomm.conf"));
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    comm.SetConfigFile(file);
    comm.SetComPortNo(5);
    comm.SetTimeoutRead(7);
    ASSERT_EQ(comm.ConfigRecord().size(), 49);
    comm.SaveConfig(QStringLiteral("Software\\TKM"), QStringLiteral("Port"));
    comm.SetComPortNo(2);
    comm.SetTimeoutRead(0);
    comm.LoadConfig(QStringLiteral("Software\\TKM"), QStringLiteral("Port"));
    EXPECT_EQ(comm.ComPortNo(), 5);
    EXPECT_EQ(comm.TimeoutRead(), 7u);

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("Software\\TKM\\Short=" + QByteArray(48, 'a').toHex() + "\n");
    f.close();
    comm.SetComPortNo(3);
    comm.LoadConfig(QStringLiteral("Software\\TKM"), QStringLiteral("Short"));
    comm.LoadConfig(QStringLiteral("Software\\TKM"), QStringLiteral("Absent"));
    EXPECT_EQ(comm.ComPortNo(), 3);
    EXPECT_EQ(comm.TimeoutRead(), 7u);
}

TEST(Terminal, ReceivedBlocksAreSplitAtZeroBytes) {
    struct Link : TnrTerminalLink {
        void SetKeyHandler(KeyHandler h) override { Handler = std::move(h); }
        void TypeChar(char c) override { Typed.append(c); }
        void InsertText(const QByteArray& t) override { Inserted.append(t); }
        KeyHandler Handler;
        QByteArray Typed;
        QList<QByteArray> Inserted;
    } link;
    TnrComm comm;
    comm.SetTerminal(&link);
    comm.UpdateTerminalByChars("ab", 2); // usage tuNone: nowhere
    EXPECT_TRUE(link.Inserted.isEmpty());
    comm.SetTerminalUsage(tuBoth);
    comm.UpdateTerminalByChars("x", 1);
    comm.UpdateTerminalByChars("ab\0cd", 5);
    EXPECT_EQ(link.Typed, QByteArray("x"));
    EXPECT_EQ(link.Inserted, (QList<QByteArray>{"ab", "cd"}));
    ASSERT_TRUE(link.Handler);
    EXPECT_TRUE(link.Handler('k')); // no echo: the key goes to the line only
    comm.SetTerminalEcho(true);
    EXPECT_FALSE(link.Handler('k'));
    comm.SetTerminal(nullptr);
}

} // namespace

#include "threads_test.moc"
