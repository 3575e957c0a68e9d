// Output: writes leave in call order, the output purge drops what SendData still holds, and a write
// on a stalled line ends with its time-out.
#include "PtyComm.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(Output, WritesLeaveInCallOrder) {
    PtyComm p;
    p.comm.SetActive(true);
    const QByteArray big = TestPattern(200 * 1024);
    const QByteArray tail = "TAIL!?";
    QByteArray got;
    std::thread reader([&] { got = p.pty.Read(static_cast<int>(big.size() + tail.size()), 30000); });
    p.comm.SendData(big.constData(), static_cast<quint32>(big.size())); // more than the line takes at once
    p.comm.SendString("TAIL");
    p.comm.SendChar('!');
    p.comm.SendData("?", 1);
    EXPECT_TRUE(WaitUntil([&] { return p.comm.GetNotYetSend() == 0; }, 30000));
    reader.join();
    EXPECT_EQ(got.size(), big.size() + tail.size());
    EXPECT_TRUE(got == big + tail);
    EXPECT_EQ(p.comm.GetTotalSent(), static_cast<quint32>(big.size() + tail.size()));
}

TEST(Output, OutputPurgeDropsWhatSendDataStillHolds) {
    PtyComm p;
    p.comm.SetActive(true);
    const QByteArray big = TestPattern(1 << 20);
    p.comm.SendData(big.constData(), static_cast<quint32>(big.size())); // nobody reads the far end yet
    ASSERT_GT(p.comm.GetNotYetSend(), 0u);
    p.comm.ClearDeviceOutput();
    EXPECT_EQ(p.comm.GetNotYetSend(), 0u);
    p.comm.SendString("END");
    QByteArray got;
    ASSERT_TRUE(WaitUntil([&] {
        got += p.pty.Read(1, 1);
        return got.endsWith("END");
    }));
    EXPECT_LT(got.size(), big.size() / 2);
    WaitUntil([] { return false; }, 100); // room on the line now: nothing held may follow
    EXPECT_TRUE(p.pty.Read(1, 50).isEmpty());
}

TEST(Output, WriteOnAStalledLineEndsWithItsTimeOut) {
    PtyComm p;
    p.comm.SetTimeoutWrite(1); // milliseconds per byte
    QList<quint32> errors;
    p.comm.OnCommError = [&](TnrCustomComm*, quint32 code, quint32 sysError, TComStateFlags, bool&) {
        EXPECT_EQ(code, 0u);
        errors << sysError;
    };
    p.comm.SetActive(true);
    p.comm.SetStateX(false); // output suspended as if the far end had sent XOFF
    p.comm.SendString("abc");
    EXPECT_EQ(errors, QList<quint32>{ETIMEDOUT});
    EXPECT_EQ(p.comm.GetTotalSent(), 0u);
    EXPECT_TRUE(p.comm.GetActive());

    p.comm.SendData("held", 4);
    EXPECT_EQ(p.comm.GetNotYetSend(), 4u);
    p.comm.SendString("x"); // must not overtake the held bytes: it waits for them and gives up
    EXPECT_EQ(errors, (QList<quint32>{ETIMEDOUT, ETIMEDOUT}));

    p.comm.SetStateX(true);
    EXPECT_TRUE(WaitUntil([&] { return p.comm.GetNotYetSend() == 0; }));
    p.comm.SendString("y");
    EXPECT_EQ(p.pty.Read(5), QByteArray("heldy"));
}

} // namespace
