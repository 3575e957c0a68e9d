// Received bytes: every receive event delivers every byte waiting, whatever the read buffer's size,
// and nothing is lost, doubled or reordered under bursts, floods and slow handlers.
#include "PtyComm.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

// Writes bytes into the far end on a thread of its own, as fast as the line takes them; stops early
// when told to, so a test that fails does not hang.
class FloodWriter {
public:
    FloodWriter(int master, QByteArray bytes)
        : FBytes(std::move(bytes)), FThread([this, master] { Run(master); }) {}
    ~FloodWriter() {
        FStop = true;
        FThread.join();
    }

private:
    void Run(int master) {
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK); // a write never blocks
        qsizetype done = 0;
        while (done < FBytes.size() && !FStop) {
            pollfd p{master, POLLOUT, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            const ssize_t n =
                ::write(master, FBytes.constData() + done, static_cast<size_t>(FBytes.size() - done));
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            done += qMax<ssize_t>(n, 0);
        }
    }
    const QByteArray FBytes;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

struct Receiver {
    explicit Receiver(PtyComm& p) {
        p.comm.SetTraceStates({tsRxChar});
        p.comm.OnAfterReceive = [this](TnrCustomComm*, const char* buffer, quint32 n) {
            got.append(buffer, n);
            ++calls;
        };
    }
    QByteArray got;
    int calls = 0;
};

TEST(Receive, EveryEventDeliversEveryWaitingByteWhateverTheBufferSize) {
    for (quint16 size : {0, 1, 128, 4096}) {
        SCOPED_TRACE(size);
        PtyComm p;
        p.comm.SetBufferInSize(size);
        Receiver r(p);
        p.comm.SetActive(true);
        const QByteArray burst = TestPattern(1000);
        p.pty.Write(burst);
        EXPECT_TRUE(WaitUntil([&] { return r.got.size() >= burst.size(); }));
        EXPECT_EQ(r.got, burst);
        EXPECT_TRUE(p.comm.ReadString().isEmpty());
        EXPECT_EQ(p.comm.GetTotalReceived(), 1000u);
    }
}

// The writer is held back by the kernel whenever the line's input queue is full, so it moves on
// only as fast as the dispatcher takes the bytes: a dispatcher that leaves bytes behind stalls it.
TEST(Receive, FlowControlledFloodArrivesWhole) {
    PtyComm p;
    Receiver r(p);
    p.comm.SetActive(true);
    const QByteArray flood = TestPattern(1 << 20);
    {
        FloodWriter writer(p.pty.Master(), flood);
        ASSERT_TRUE(WaitUntil([&] { return r.got.size() >= flood.size(); }, 30000))
            << r.got.size() << " of " << flood.size();
    }
    EXPECT_EQ(r.got, flood);
    EXPECT_GT(r.calls, 1);
}

// Bytes that arrive while a handler runs are delivered by the next event, all of them.
TEST(Receive, BytesArrivingDuringASlowHandlerAreDeliveredAfterIt) {
    PtyComm p;
    QByteArray got;
    const QByteArray first = TestPattern(200);
    const QByteArray during = TestPattern(3000, 200);
    bool sent = false;
    p.comm.SetTraceStates({tsRxChar});
    p.comm.OnAfterReceive = [&](TnrCustomComm* com, const char* buffer, quint32 n) {
        got.append(buffer, n);
        if (sent)
            return;
        sent = true;
        p.pty.Write(during);
        // Busy until the line has them all waiting: the comm thread sees them meanwhile.
        const QDeadlineTimer deadline(5000);
        while (com->GetReadyForRead() < static_cast<quint32>(during.size()) && !deadline.hasExpired())
            QThread::msleep(1);
    };
    p.comm.SetActive(true);
    p.pty.Write(first);
    EXPECT_TRUE(WaitUntil([&] { return got.size() >= first.size() + during.size(); }));
    EXPECT_EQ(got, first + during);
    EXPECT_TRUE(p.comm.ReadString().isEmpty());
}

// The main window's settings: the dispatcher takes nothing, ReadString takes everything.
TEST(Receive, FloodReadWithReadStringLosesNothing) {
    PtyComm p;
    p.comm.SetActive(true);
    const QByteArray flood = TestPattern(256 * 1024, 7);
    QByteArray got;
    {
        FloodWriter writer(p.pty.Master(), flood);
        ASSERT_TRUE(WaitUntil(
            [&] {
                got += p.comm.ReadString();
                return got.size() >= flood.size();
            },
            30000))
            << got.size() << " of " << flood.size();
    }
    EXPECT_EQ(got, flood);
    EXPECT_EQ(p.comm.GetTotalReceived(), static_cast<quint32>(flood.size()));
}

} // namespace
