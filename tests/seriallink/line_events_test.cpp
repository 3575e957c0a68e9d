// Line events beyond received bytes: modem lines, break and line errors, the event character, and
// the modem-line watch of real serial ports.
#include "InjectedLineSource.h"
#include "PosixCustomBaud.h"
#include "PosixLineWatcher.h"
#include "PtyComm.h"

#include <QAtomicInt>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

class CheckBox : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Checked MEMBER Checked)
public:
    bool Checked = false;
};

struct InjectedComm : PtyComm {
    InjectedComm() : PtyComm(std::make_unique<InjectedPort>()) {
        port = static_cast<InjectedPort*>(comm.Device());
        comm.OnTraceState = [this](QObject*, TTraceStates s) { traces.append(s); };
    }
    InjectedPort* port = nullptr;
    QList<TTraceStates> traces;
};

TEST(LineEvents, ModemLineChangesReachOnTraceStateThroughTheChannel) {
    InjectedComm p;
    CheckBox ring;
    p.comm.SetMonitorRing(&ring);
    p.comm.SetTraceStates({tsCTS, tsRing, tsRLSD});
    p.comm.SetActive(true);
    p.traces.clear();
    ASSERT_TRUE(p.port->Source()->RaiseModem(NrEv::Cts | NrEv::Ring | NrEv::Dsr)); // DSR is not asked for
    ASSERT_TRUE(WaitUntil([&] { return !p.traces.isEmpty(); }));
    EXPECT_EQ(p.traces, (QList<TTraceStates>{{tsCTS, tsRing}}));
    EXPECT_TRUE(ring.Checked);
    ASSERT_TRUE(p.port->Source()->RaiseModem(NrEv::Rlsd));
    ASSERT_TRUE(WaitUntil([&] { return p.traces.size() == 2; }));
    EXPECT_EQ(p.traces.last(), TTraceStates{tsRLSD});
    p.comm.SetActive(false);
    EXPECT_FALSE(p.comm.ModemWatchRunning());
}

TEST(LineEvents, TheModemLinesAreWatchedOnlyWhileAModemEventIsWanted) {
    InjectedComm p;
    p.comm.SetActive(true); // no trace states: received bytes only
    EXPECT_FALSE(p.comm.ModemWatchRunning());
    p.comm.SetTraceStates({tsRxChar, tsBreak});
    EXPECT_FALSE(p.comm.ModemWatchRunning());
    p.comm.SetTraceStates({tsDSR});
    EXPECT_TRUE(p.comm.ModemWatchRunning());
    p.comm.SetTraceStates({});
    EXPECT_FALSE(p.comm.ModemWatchRunning());
    p.comm.SetActive(false);
}

TEST(LineEvents, BreakAndLineErrorsAreTracedAlongsideOnCommError) {
    InjectedComm p;
    QList<quint32> errors;
    p.comm.OnCommError = [&](TnrCustomComm*, quint32 code, quint32, TComStateFlags, bool&) {
        errors << code;
    };
    p.comm.SetTraceStates({tsBreak, tsErr});
    p.comm.SetActive(true);
    p.traces.clear();
    p.port->Source()->Raise(NrEv::Break);
    ASSERT_TRUE(WaitUntil([&] { return !p.traces.isEmpty(); }));
    EXPECT_EQ(p.traces, QList<TTraceStates>{{tsBreak}});
    EXPECT_TRUE(errors.isEmpty());
    // The line status reports the error too: OnCommError has it, and the event is still traced.
    p.port->InjectErrors = NrCe::Frame;
    p.port->Source()->Raise(NrEv::Err | NrEv::RxChar | NrEv::Cts); // CTS is not asked for
    ASSERT_TRUE(WaitUntil([&] { return p.traces.size() == 2; }));
    EXPECT_EQ(p.traces.last(), TTraceStates{tsErr});
    EXPECT_EQ(errors, QList<quint32>{NrCe::Frame});
}

TEST(LineEvents, TheEventCharacterIsTracedWhenItIsTaken) {
    PtyComm p;
    QList<TTraceStates> traces;
    p.comm.OnTraceState = [&](QObject*, TTraceStates s) { traces.append(s); };
    p.comm.SetEventChar('\r');
    p.comm.SetTraceStates({tsRxFlag});
    p.comm.SetActive(true);
    traces.clear();
    // The main window's way: the bytes wait for ReadString, which takes the event character.
    p.pty.Write("!01\r");
    ASSERT_TRUE(WaitUntil([&] { return p.comm.GetReadyForRead() == 4; }));
    EXPECT_EQ(p.comm.ReadString(), QByteArray("!01\r"));
    ASSERT_TRUE(WaitUntil([&] { return !traces.isEmpty(); }));
    EXPECT_EQ(traces, QList<TTraceStates>{{tsRxFlag}});
    p.pty.Write("no flag");
    ASSERT_TRUE(WaitUntil([&] { return p.comm.GetReadyForRead() == 7; }));
    p.comm.ReadString();
    WaitUntil([] { return false; }, 50);
    EXPECT_EQ(traces.size(), 1);

    // With a receive handler the dispatcher takes the bytes and traces the flag with that event.
    QByteArray got;
    p.comm.SetTraceStates({tsRxChar, tsRxFlag});
    p.comm.OnAfterReceive = [&](TnrCustomComm*, const char* b, quint32 n) { got.append(b, n); };
    p.pty.Write("ab\rcd");
    ASSERT_TRUE(WaitUntil([&] { return traces.size() == 2; }));
    EXPECT_EQ(traces.last(), TTraceStates{tsRxFlag});
    EXPECT_EQ(got, QByteArray("ab\rcd"));
}

TEST(LineEvents, CounterChangesMapToBreakAndLineErrors) {
    const struct {
        int serial_icounter_struct::*counter;
        quint32 event;
    } cases[] = {
        {&serial_icounter_struct::brk, NrEv::Break},
        {&serial_icounter_struct::frame, NrEv::Err},
        {&serial_icounter_struct::parity, NrEv::Err},
        {&serial_icounter_struct::overrun, NrEv::Err},
        {&serial_icounter_struct::buf_overrun, NrEv::Err},
        {&serial_icounter_struct::rx, 0},
        {&serial_icounter_struct::cts, 0},
    };
    for (const auto& c : cases) {
        serial_icounter_struct before{};
        serial_icounter_struct now{};
        now.*c.counter = 1;
        EXPECT_EQ(PosixLineWatcher::ErrorEvents(before, now), c.event);
    }
}

TEST(LineEvents, ModemSamplesMapToLineEvents) {
    auto sample = [](int lines, int cts = 0, int rng = 0) {
        ModemSample s;
        s.Lines = lines;
        s.CountersKnown = true;
        s.Counters.cts = cts;
        s.Counters.rng = rng;
        return s;
    };
    const struct {
        ModemSample before, now;
        quint32 events;
    } cases[] = {
        {sample(0), sample(TIOCM_CTS), NrEv::Cts},
        {sample(TIOCM_DSR | TIOCM_CAR), sample(0), NrEv::Dsr | NrEv::Rlsd},
        {sample(TIOCM_CTS, 4), sample(TIOCM_CTS, 6), NrEv::Cts}, // gone and back between two samples
        {sample(0, 0, 1), sample(0, 0, 2), NrEv::Ring},          // a ring shorter than the period
        {sample(TIOCM_RNG), sample(0), NrEv::Ring},
        {sample(TIOCM_CTS, 3), sample(TIOCM_CTS, 3), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PosixLineWatcher::ModemEvents(c.before, c.now), c.events);
    ModemSample noCounters = sample(0, 5);
    noCounters.CountersKnown = false;
    EXPECT_EQ(PosixLineWatcher::ModemEvents(noCounters, sample(0, 9)), 0u);
}

// Another part of the program owning or ignoring signals must not keep the modem watch from
// stopping: nothing wakes it through a signal.
TEST(LineEvents, ModemWatchStopsWhateverTheProgramDoesWithSignals) {
    PtyPair pty;
    const int fd = ::open(pty.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_NE(fd, -1);
    QAtomicInt samples = 0;
    PosixLineWatcher watcher(fd, [&](ModemSample& s) {
        s.Lines = (samples.fetchAndAddRelaxed(1) % 2) ? TIOCM_CTS : 0;
        return true;
    });
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction saved[4];
    for (int i = 0; i < 4; ++i)
        ::sigaction(SIGRTMIN + i, &ignore, &saved[i]);
    QAtomicInt events = 0;
    ASSERT_TRUE(watcher.StartModemWatch([&](quint32 mask) {
        if (mask & NrEv::Cts)
            events.fetchAndAddRelaxed(1);
    }));
    EXPECT_TRUE(WaitUntil([&] { return events.loadRelaxed() >= 2; }));
    watcher.StopModemWatch();
    EXPECT_FALSE(watcher.ModemWatchRunning());
    for (int i = 0; i < 4; ++i)
        ::sigaction(SIGRTMIN + i, &saved[i], nullptr);
    ::close(fd);

    // Pseudo-terminals have no modem lines: no watch starts.
    PosixLineWatcher plain(pty.Master());
    EXPECT_FALSE(plain.StartModemWatch([](quint32) {}));
}

TEST(LineEvents, AStandardRateAfterACustomOneSetsBothSpeeds) {
    PtyComm p;
    p.comm.SetActive(true);
    p.comm.SetBaudRate(12345);
    quint32 in = 0;
    quint32 out = 0;
    ASSERT_EQ(PosixCustomBaud::ReadRates(p.pty.Master(), in, out), 0);
    EXPECT_EQ(in, 12345u);
    EXPECT_EQ(out, 12345u);
    p.comm.SetBaudRate(9600);
    ASSERT_EQ(PosixCustomBaud::ReadRates(p.pty.Master(), in, out), 0);
    EXPECT_EQ(in, 9600u);
    EXPECT_EQ(out, 9600u);
}

} // namespace

#include "line_events_test.moc"
