// The window when its port's device goes away and comes back: the open-port button follows the
// port's real state, the traffic log says once what happened, and the returned device opens again
// without a restart. A simulated terminal on a pseudo-terminal stands for the adapter; stopping it
// closes the pseudo-terminal under the open port.
#include "AdapterLineFixture.h"
#include "testkit/SimReplyWait.h"

#include "app/TrafficMemo.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

class PulledAdapter : public AdapterLine {
protected:
    void openAndIdentify() {
        QTest::mouseClick(window->BOP, Qt::LeftButton);
        ASSERT_TRUE(window->nrComm1->GetActive()) << exceptions.join(QLatin1Char('\n')).toStdString();
        window->setSleep(SimReplyWait(terminal->trace(), [this] {
            return static_cast<std::size_t>(window->nrComm1->GetReadyForRead());
        }));
        window->Adr->SetPosition(window->Adr->Position() == 1 ? 0 : 1);
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
    }

    int logLinesWith(const QString& text) const {
        return static_cast<int>(window->RCVS->toPlainText().count(text));
    }
};

TEST_F(PulledAdapter, TheWindowShowsThePortClosedAndSaysSoOnce) {
    window->Timer1->start(); // the poll tick keeps running, as it does for a user
    openAndIdentify();
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Close port"));

    terminal->stop(); // pulled
    ASSERT_TRUE(runUntil([&] { return !window->nrComm1->GetActive(); }));
    ASSERT_TRUE(runUntil([&] { return logLinesWith(QStringLiteral("went away")) > 0; }));
    EXPECT_FALSE(window->BOP->Active());
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Open port"));
    EXPECT_FALSE(window->connection().found());
    // Ticks that find the port closed add nothing more.
    QTest::qWait(1000);
    EXPECT_EQ(logLinesWith(QStringLiteral("went away")), 1);
    EXPECT_TRUE(exceptions.isEmpty()) << exceptions.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PulledAdapter, TheReturnedDeviceOpensAgainWithoutARestart) {
    openAndIdentify();
    terminal->stop();
    ASSERT_TRUE(runUntil([&] { return !window->nrComm1->GetActive(); }));

    plugIn(); // a new pseudo-terminal in its place
    openAndIdentify();
    EXPECT_TRUE(window->BOP->Active());
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Close port"));
    EXPECT_TRUE(exceptions.isEmpty()) << exceptions.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PulledAdapter, ClosingThePortByProgramAlsoMovesTheButton) {
    openAndIdentify();
    window->nrComm1->SetActive(false);
    EXPECT_FALSE(window->BOP->Active());
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Open port"));
    QCoreApplication::processEvents();
    EXPECT_EQ(logLinesWith(QStringLiteral("went away")), 0); // closing a port oneself is no loss
}

} // namespace
