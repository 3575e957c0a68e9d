// Without a QCoreApplication the dispatcher runs on the message thread, and a line failure is acted
// on at the owner's next call.
#include "PtyPair.h"
#include "TestPorts.h"
#include "TnrComm.h"

#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

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

} // namespace
