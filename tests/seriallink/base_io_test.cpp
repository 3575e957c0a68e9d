#include "NrFormat.h"
#include "TestPorts.h"
#include "TnrComm.h"
#include "TnrException.h"

#include <gtest/gtest.h>

namespace {

class Listener {
public:
    void Handle(TnrBaseIO*, int code) { Codes.append(code); }
    void Other(TnrBaseIO*, int code) { Others.append(code); }
    QList<int> Codes;
    QList<int> Others;
};

class RecordingLog : public TnrCustomLogFile {
public:
    void Save() override {}
    void Clear() override { Lines.clear(); }
    void Add(const QString& line) override { Lines.append(line); }
    void AddSysInfo() override { Lines.append(QStringLiteral("<sysinfo>")); }
    void AddLog(TDetailLevel level, const QString& line) override {
        Lines.append(QString::number(level) + QLatin1Char(' ') + line);
    }
    QStringList Lines;
};

TEST(NotifyList, SameMethodTwiceKeepsOneEntry) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    Listener a;
    Listener b;
    const int first = comm.NotifyAdd(TnrNotifyEvent::Make(&a, &Listener::Handle));
    EXPECT_EQ(comm.NotifyAdd(TnrNotifyEvent::Make(&a, &Listener::Handle)), first);
    const int other = comm.NotifyAdd(TnrNotifyEvent::Make(&a, &Listener::Other));
    const int second = comm.NotifyAdd(TnrNotifyEvent::Make(&b, &Listener::Handle));
    EXPECT_NE(other, first);
    EXPECT_NE(second, other);
    comm.DoNotify(3);
    EXPECT_EQ(a.Codes, (QList<int>{3}));
    EXPECT_EQ(a.Others, (QList<int>{3}));
    comm.NotifyDelete(TnrNotifyEvent::Make(&a, &Listener::Handle));
    comm.DoNotify(2);
    EXPECT_EQ(a.Codes, (QList<int>{3}));
    EXPECT_EQ(b.Codes, (QList<int>{3, 2}));
}

TEST(FatalErrors, RaiseCarriesTheMessageUnlessVetoed) {
    TnrComm comm;
    try {
        comm.DoFatalErrors(1, 0, QStringLiteral("boom"), false);
        FAIL() << "no exception";
    } catch (const TnrException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("boom"));
    }
    int calls = 0;
    comm.OnFatalError = [&](QObject* sender, quint32 code, quint32 detail, const QString& msg, bool& raise) {
        ++calls;
        EXPECT_EQ(sender, &comm);
        EXPECT_EQ(code, 7u);
        EXPECT_EQ(detail, 3u);
        EXPECT_EQ(msg, QStringLiteral("vetoed"));
        raise = false;
    };
    EXPECT_NO_THROW(comm.DoFatalErrors(7, 3, QStringLiteral("vetoed"), false));
    EXPECT_EQ(calls, 1);
}

TEST(FatalErrors, ShownOnlyGoesToThePresenterAndLoadingStaysSilent) {
    QStringList shown;
    TnrBaseIO::SetErrorPresenter(
        [&](const QString& caption, const QString& text) { shown << caption + ':' + text; });
    TnrComm comm;
    EXPECT_NO_THROW(comm.DoFatalErrors(1, 0, QStringLiteral("seen"), true));
    comm.BeginLoad();
    EXPECT_NO_THROW(comm.DoFatalErrors(1, 0, QStringLiteral("loading"), false));
    EXPECT_NO_THROW(comm.DoFatalErrors(1, 0, QStringLiteral("loading"), true));
    TnrBaseIO::SetErrorPresenter(nullptr);
    EXPECT_EQ(shown, QStringList{QStringLiteral("TnrException:seen")});
}

TEST(Logging, LinesGoToTheLinkedLogWithPrefixAndLevel) {
    TnrComm comm;
    comm.Logging(dlSimple, QStringLiteral("nothing happens without a log"));
    RecordingLog log;
    comm.SetLog(&log);
    comm.Logging(dlDetail, QStringLiteral("x"));
    comm.Logging(dlDebug, QString());
    comm.LoggingFmt(dlSimple, QStringLiteral("The port %s succesful opened"), {QStringLiteral("COM3")});
    EXPECT_THROW(comm.DoFatalErrors(4, 5, QStringLiteral("bad"), false), TnrException);
    EXPECT_EQ(log.Lines, (QStringList{QStringLiteral("1 nrComm: x"), QStringLiteral("<sysinfo>"),
                                      QStringLiteral("0 nrComm: The port COM3 succesful opened"),
                                      QStringLiteral("0 Fatal Error: 4, 5, bad")}));
}

TEST(NrFormat, DelphiStyleConversions) {
    EXPECT_EQ(NrFormat(QStringLiteral("Try to send char %2Xh ..."), {0x0A}),
              QStringLiteral("Try to send char  Ah ..."));
    EXPECT_EQ(NrFormat(QStringLiteral("Communication Error %d:%d"), {4, 0}),
              QStringLiteral("Communication Error 4:0"));
    EXPECT_EQ(NrFormat(QStringLiteral("%s|%-4s|%u%%"), {QStringLiteral("a"), QStringLiteral("b"), 7}),
              QStringLiteral("a|b   |7%"));
}

TEST(Defaults, ConstructionAndTheMainWindowValues) {
    TnrComm comm;
    EXPECT_FALSE(comm.GetActive());
    EXPECT_EQ(comm.BaudRate(), 19200u);
    EXPECT_EQ(comm.ByteSize(), 8);
    EXPECT_EQ(comm.Parity(), pNone);
    EXPECT_EQ(comm.StopBits(), sbOne);
    EXPECT_EQ(comm.StreamProtocol(), spHardware);
    EXPECT_EQ(comm.ComPortNo(), 1);
    EXPECT_EQ(comm.ComPort(), cpCOM1);
    EXPECT_EQ(comm.BufferInSize(), 4096);
    EXPECT_EQ(comm.BufferOutSize(), 4096);
    EXPECT_EQ(comm.TimeoutRead(), 0u);
    EXPECT_EQ(comm.TimeoutWrite(), 100u);
    EXPECT_TRUE(comm.TraceStates().IsEmpty());
    EXPECT_EQ(comm.TerminalUsage(), tuNone);
    EXPECT_EQ(comm.GetPortName(), QStringLiteral("/dev/ttyS0"));
}

TEST(Properties, ByteSizeAndPortNumberRules) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    for (int bad : {3, 9}) {
        comm.SetByteSize(static_cast<quint8>(bad));
        EXPECT_EQ(comm.ByteSize(), 8) << bad;
    }
    comm.SetByteSize(5);
    EXPECT_EQ(comm.ByteSize(), 5);
    comm.SetComPort(cpCOM4);
    EXPECT_EQ(comm.ComPortNo(), 4);
    comm.SetComPort(cpCOMxx);
    EXPECT_EQ(comm.ComPortNo(), 4);
    comm.SetComPortNo(12);
    EXPECT_EQ(comm.ComPort(), cpCOMxx);
    EXPECT_FALSE(comm.GetActive());
    comm.SetStreamProtocol(spXonXoff);
    EXPECT_EQ(comm.StreamProtocol(), spXonXoff);
    comm.SetParity(pEven);
    EXPECT_TRUE(comm.Dcb().Flags & NrDcb::fParity);
    comm.SetParity(pNone);
    EXPECT_FALSE(comm.Dcb().Flags & NrDcb::fParity);
}

TEST(ClosedPort, OperationsDoNothingAndCloseStillReportsTxEmpty) {
    TnrComm comm;
    RecordingLog log;
    comm.SetLog(&log);
    int sent = 0;
    QList<TTraceStates> traces;
    comm.OnAfterSend = [&](TnrCustomComm*) { ++sent; };
    comm.OnTraceState = [&](QObject*, TTraceStates s) { traces.append(s); };
    comm.SendString("abc");
    comm.SendChar('x');
    EXPECT_TRUE(comm.ReadString().isEmpty());
    EXPECT_EQ(comm.GetReadyForRead(), 0u);
    EXPECT_EQ(comm.GetNotYetSend(), 0u);
    EXPECT_FALSE(comm.WaitForBytes(1, 1000));
    EXPECT_FALSE(comm.WaitForSignal(msCTS, 1000));
    comm.Close();
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(traces, (QList<TTraceStates>{{tsTxEmpty}}));
    EXPECT_TRUE(log.Lines.isEmpty());
}

} // namespace
