// Without a QCoreApplication the dispatcher runs on the message thread, and a line failure is acted
// on at the owner's next call.
#include "PtyPair.h"
#include "TestPorts.h"
#include "TnrComm.h"

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

// A component on a pseudo-terminal, to be destroyed when the test says.
struct NoAppComm {
    NoAppComm() : comm(std::make_unique<TnrComm>()) {
        comm->SetLockFolder(locks.path());
        comm->SetPortEnumerator(FedPortList::FromComNames({}));
        comm->SetComPortNo(comm->AddExtraPort(QStringLiteral("pty"), pty.SlavePath()));
    }
    PtyPair pty;
    QTemporaryDir locks;
    std::unique_ptr<TnrComm> comm;
};

TEST(NoApplication, DispatcherRunsOnTheMessageThread) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    PtyPair pty;
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    comm.SetComPortNo(comm.AddExtraPort(QStringLiteral("pty"), pty.SlavePath()));
    std::mutex m;
    QByteArray got;
    std::thread::id where;
    comm.SetTraceStates({tsRxChar});
    comm.OnAfterReceive = [&](TnrCustomComm*, const char* b, quint32 n) {
        std::lock_guard lock(m);
        got.append(b, n);
        where = std::this_thread::get_id();
    };
    comm.SetActive(true);
    pty.Write("hi");
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard lock(m);
        return got == "hi";
    }));
    {
        std::lock_guard lock(m);
        EXPECT_NE(where, std::this_thread::get_id());
    }
    comm.SetActive(false);
    EXPECT_FALSE(comm.MsgThreadRunning());
}

TEST(NoApplication, VanishedDeviceClosesAtTheNextCall) {
    PtyPair pty;
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    comm.SetComPortNo(comm.AddExtraPort(QStringLiteral("pty"), pty.SlavePath()));
    int closes = 0;
    comm.OnClose = [&](QObject*) { ++closes; };
    comm.SetActive(true);
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return !comm.CommThreadRunning(); }));
    EXPECT_FALSE(comm.GetActive());
    EXPECT_EQ(closes, 1);
}

// A handler still running on the message thread when the owner closes the port: Close waits for
// it, so nothing touches the port or the component once Close has returned.
TEST(NoApplication, CloseWaitsForAHandlerStillRunning) {
    NoAppComm n;
    std::unique_ptr<TnrComm>& comm = n.comm;
    std::atomic<bool> entered{false};
    std::atomic<bool> release{false};
    std::atomic<bool> done{false};
    comm->SetTraceStates({tsRxChar});
    comm->OnAfterReceive = [&](TnrCustomComm* com, const char*, quint32) {
        entered = true;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        [[maybe_unused]] const quint32 sent = com->GetTotalSent(); // the component's memory
        done = true;
    };
    comm->SetActive(true);
    n.pty.Write("x");
    ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
    // Longer than the message thread was once given before Close left it running.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        release = true;
    });
    comm->SetActive(false);
    EXPECT_TRUE(done);
    EXPECT_FALSE(comm->MsgThreadRunning());
    const int fd = ::open(n.pty.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0); // the port is free
    ::close(fd);
    comm.reset();
    releaser.join();
}

TEST(NoApplication, AHandlerClosingThePortLeavesNothingRunning) {
    NoAppComm n;
    std::unique_ptr<TnrComm>& comm = n.comm;
    std::atomic<bool> closed{false};
    comm->SetTraceStates({tsRxChar, tsCTS});
    comm->OnAfterReceive = [&](TnrCustomComm* com, const char*, quint32) {
        com->Close();
        closed = true;
    };
    comm->SetActive(true);
    n.pty.Write("x");
    ASSERT_TRUE(WaitUntil([&] { return closed.load(); }));
    EXPECT_FALSE(comm->GetActive());
    comm.reset(); // waits for the message thread to leave the dispatcher
    SUCCEED();
}

} // namespace
