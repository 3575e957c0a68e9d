// Opening and closing the port again and again leaves no descriptor and no thread behind.
#include "PtyComm.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

int Entries(const char* directory) {
    return static_cast<int>(
        QDir(QString::fromLatin1(directory)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

TEST(Lifecycle, ThousandOpenCloseCyclesReturnToTheBaseline) {
    PtyComm p;
    QByteArray got;
    p.comm.SetTraceStates({tsRxChar, tsTxEmpty});
    p.comm.OnAfterReceive = [&](TnrCustomComm*, const char* b, quint32 n) { got.append(b, n); };
    // One cycle first, so that what lives as long as the process (Qt's thread data, the event
    // dispatcher's descriptors) exists before counting.
    p.comm.SetActive(true);
    p.comm.SetActive(false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int descriptors = Entries("/proc/self/fd");
    const int threads = Entries("/proc/self/task");

    for (int i = 0; i < 1000; ++i) {
        p.comm.SetActive(true);
        ASSERT_TRUE(p.comm.GetActive()) << "cycle " << i;
        if (i % 100 == 0) { // now and then with traffic both ways
            p.pty.Write("x");
            p.comm.SendString("y");
            ASSERT_TRUE(WaitUntil([&] { return got.size() == i / 100 + 1; })) << "cycle " << i;
            ASSERT_EQ(p.pty.Read(1), QByteArray("y"));
        }
        p.comm.SetActive(false);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Entries("/proc/self/fd"), descriptors);
    // A joined thread leaves /proc a moment after it has ended.
    EXPECT_TRUE(WaitUntil([&] { return Entries("/proc/self/task") == threads; }))
        << Entries("/proc/self/task");
    EXPECT_FALSE(p.comm.CommThreadRunning());
    EXPECT_FALSE(p.comm.MsgThreadRunning());
}

} // namespace
