// The WDT page against the built-in simulator over a real pseudo-terminal. The simulated terminal's
// watchdog runs on a clock the test moves: every reply wait moves it by the wait, and every poll tick
// is followed by one poll interval, as the poll timer starts again when the tick's last exchange ends.
#include "testkit/SimReplyWait.h"
#include "SimulatedLineFixture.h"

#include "app/AppDialogs.h"
#include "app/FileDialog.h"
#include "app/WdtPage.h"

#include "protocol/Conversions.h"
#include "protocol/Transact.h"

#include "seriallink/TnrComm.h"
#include "sim/ManualSimClock.h"
#include "sim/SimTerminal.h"
#include "sim/TerminalState.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QEventLoop>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Frames = std::vector<std::string>;
using std::chrono::milliseconds;

class WdtOnTheSimulator : public SimulatedLine {
protected:
    // The terminal at address 1 at the list's baud rate, found, the WDT page shown.
    void open(int baudIndex = 5) {
        window->simulatedPort()->setClock(clock);
        tkm::sim::TerminalSettings settings;
        settings.baudCode = baudIndex + 1;
        openSimulator(settings, baudIndex);
        SimReplyWait replyWait(
            sim()->trace(), [this] { return static_cast<std::size_t>(window->nrComm1->GetReadyForRead()); });
        window->setSleep([this, replyWait](int ms) mutable {
            replyWait(ms);
            clock->advance(milliseconds(ms));
        });
        interval = window->Timer1->interval();
        identifyAt(1);
        window->Page->setCurrentWidget(window->WDTimer);
        received();
    }

    WdtPage* page() const { return window->WDTimer; }
    int terminalStatus() const { return sim()->model().state().moduleStatus; }

    // One poll tick; the frames the terminal received in it.
    Frames tick() {
        window->PollTick();
        clock->advance(milliseconds(interval));
        noteAlarm();
        return received();
    }

    // The watchdog switched on from the page with the given period.
    void enable(int period) {
        page()->WDTT->SetPosition(period);
        QTest::mouseClick(page()->WDTEN, Qt::LeftButton);
        ASSERT_TRUE(page()->WDTEN->Active());
        ASSERT_EQ(tick(), Frames({"~0131" + tkm::protocol::HexText(static_cast<std::uint32_t>(period), 2)}));
    }

    // What a modal box does while it is open: its event loop runs, and so does the poll timer, here
    // until it has fired `ticks` times. The timer fires at once instead of after the interval; the
    // terminal's clock moves by the interval all the same.
    void runModalLoop(int ticks) {
        QEventLoop modal;
        int fired = 0;
        const auto counter = QObject::connect(window->Timer1, &QTimer::timeout, &modal, [&] {
            clock->advance(milliseconds(interval));
            noteAlarm();
            if (++fired >= ticks)
                modal.quit();
        });
        window->Timer1->setInterval(1);
        window->Timer1->start();
        modal.exec();
        QObject::disconnect(counter);
        window->Timer1->stop();
        window->Timer1->setInterval(interval);
        modalTicks += fired;
        received();
    }

    void noteAlarm() {
        if (terminalStatus() == tkm::sim::kWatchdogAlarmStatus || page()->Stat_dev->Active())
            ++alarmedTicks;
    }

    std::shared_ptr<tkm::sim::ManualSimClock> clock = std::make_shared<tkm::sim::ManualSimClock>();
    int interval = 0;
    int alarmedTicks = 0;
    int modalTicks = 0;
};

// ---- Timing: the host-alive message against the terminal's watchdog ----

struct ShortestPeriod {
    int baudIndex;
    int period;   // tenths of a second: the shortest useful period
    int tooShort; // a period shorter than one round of host-alive messages
};

void PrintTo(const ShortestPeriod& p, std::ostream* os) {
    *os << "baud index " << p.baudIndex << ", period " << p.period << ", too short " << p.tooShort;
}

class WdtTiming : public WdtOnTheSimulator, public ::testing::WithParamInterface<ShortestPeriod> {};

// A tick sends the host-alive message and reads the status, each followed by its reply wait, and the
// next tick comes one poll interval after the last reply: host-alive to host-alive is the interval
// plus two reply waits, 382 + 2 x 52 = 486 ms at 9600 baud and 352 + 2 x 22 = 396 ms at 115200. So
// 0.5 s is the shortest useful period at both rates: 0.4 s at 115200 outlasts the round by 4 ms on
// this clock, less than real ticks drift (bench_watchdog).
TEST_P(WdtTiming, TheShortestUsefulPeriodStaysAliveAlsoBehindModalBoxes) {
    const ShortestPeriod shortest = GetParam();
    open(shortest.baudIndex);
    enable(shortest.period);

    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(tick(), Frames({"~**", "~010"})) << i;

    // The exception box, then a file dialog: the poll goes on in their modal loops.
    AppDialogs::setExceptionBox([this](const QString&) { runModalLoop(12); });
    AppDialogs::showException(QStringLiteral("Something went wrong"));
    window->OpenDialog1->setChooser([this](const FileDialog&) -> std::optional<QString> {
        runModalLoop(12);
        return std::nullopt;
    });
    EXPECT_FALSE(window->OpenDialog1->Execute());
    EXPECT_EQ(modalTicks, 24);

    for (int i = 0; i < 10; ++i)
        tick();
    EXPECT_EQ(alarmedTicks, 0);
    EXPECT_EQ(terminalStatus(), 0);
    EXPECT_TRUE(sim()->model().state().watchdogEnabled);

    // A period shorter than the round runs out with the same ticks.
    const std::string tooShort = tkm::protocol::HexText(static_cast<std::uint32_t>(shortest.tooShort), 2);
    page()->WDTT->SetPosition(shortest.tooShort);
    QTest::mouseClick(page()->WDTT, Qt::LeftButton, {}, page()->WDTT->ThumbRect().center());
    ASSERT_EQ(tick(), Frames({"~0131" + tooShort}));
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(terminalStatus(), tkm::sim::kWatchdogAlarmStatus);
    EXPECT_TRUE(page()->Stat_dev->Active());
}

INSTANTIATE_TEST_SUITE_P(Baud, WdtTiming, ::testing::Values(ShortestPeriod{5, 5, 4}, ShortestPeriod{9, 5, 3}),
                         [](const ::testing::TestParamInfo<ShortestPeriod>& info) {
                             return info.param.baudIndex == 5 ? std::string("At9600")
                                                              : std::string("At115200");
                         });

// ---- The page's behaviour on the line ----

TEST_F(WdtOnTheSimulator, AUserKeepsTheWatchdogAliveLetsItRunOutResetsItAndLeaves) {
    open();
    enable(10); // 1 s
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(tick(), Frames({"~**", "~010"})) << i;
    EXPECT_FALSE(page()->Stat_dev->Active());
    EXPECT_EQ(alarmedTicks, 0);

    // No host-alive message any more: the terminal's watchdog runs out.
    QTest::mouseClick(page()->DIS_RESWDT, Qt::LeftButton);
    EXPECT_EQ(tick(), Frames({"~010"}));
    EXPECT_EQ(tick(), Frames({"~010"}));
    EXPECT_FALSE(page()->Stat_dev->Active());
    EXPECT_EQ(tick(), Frames({"~010"}));
    EXPECT_EQ(terminalStatus(), tkm::sim::kWatchdogAlarmStatus);
    EXPECT_TRUE(page()->Stat_dev->Active()); // "0104"

    // RESET Status clears it.
    QTest::mouseClick(page()->Button18, Qt::LeftButton);
    EXPECT_EQ(tick(), Frames({"~011", "~010"}));
    EXPECT_EQ(terminalStatus(), 0);
    EXPECT_FALSE(page()->Stat_dev->Active()); // "0100"
    QTest::mouseClick(page()->DIS_RESWDT, Qt::LeftButton);
    EXPECT_EQ(tick(), Frames({"~**", "~010"}));

    // Leaving the page switches the terminal's watchdog off, once.
    window->Page->setCurrentWidget(window->Display);
    EXPECT_EQ(received(), Frames({"$01T", "~01300A"}));
    EXPECT_FALSE(sim()->model().state().watchdogEnabled);
    EXPECT_FALSE(page()->WDTEN->Active());
    EXPECT_TRUE(tick().empty());
}

TEST_F(WdtOnTheSimulator, ReadWdtShowsTheTerminalsWatchdog) {
    open();
    EXPECT_FALSE(page()->WDTEN->Active());
    ASSERT_TRUE(sim()->model().receiveFrame("~013128").reply); // another host enabled it with 4 s
    QTest::mouseClick(page()->RWDT, Qt::LeftButton);
    EXPECT_EQ(tick(), Frames({"~012", "~**", "~010"}));
    EXPECT_TRUE(page()->WDTEN->Active());
    EXPECT_EQ(page()->WDTT->Position(), 40);
    EXPECT_EQ(page()->GroupBoxWDT->title(), QStringLiteral("Period WDT=0x28  4 (sec) "));
}

TEST_F(WdtOnTheSimulator, ResetWhileGreenSendsNothingInTheNextTick) {
    open();
    enable(50);
    ASSERT_EQ(tick(), Frames({"~**", "~010"}));
    QTest::mouseClick(page()->Button18, Qt::LeftButton);
    EXPECT_TRUE(tick().empty());
    EXPECT_EQ(tick(), Frames({"~**", "~010"}));
}

TEST_F(WdtOnTheSimulator, ANewPeriodGoesOutWithTheSwitchOnOrOnMouseUpWhileEnabled) {
    open();
    ASSERT_FALSE(page()->WDTEN->Active());
    const int middle = page()->WDTT->height() / 2;
    QTest::mouseClick(page()->WDTT, Qt::LeftButton, {}, QPoint(page()->WDTT->width() - 30, middle));
    const int period = page()->WDTT->Position();
    ASSERT_NE(period, 30);
    EXPECT_EQ(tick(), Frames({"~010"}));
    EXPECT_FALSE(sim()->model().state().watchdogEnabled);

    QTest::mouseClick(page()->WDTEN, Qt::LeftButton);
    EXPECT_EQ(tick(), Frames({"~0131" + tkm::protocol::HexText(static_cast<std::uint32_t>(period), 2)}));
    tkm::sim::TerminalState state = sim()->model().state();
    EXPECT_TRUE(state.watchdogEnabled);
    EXPECT_EQ(state.watchdogPeriod, period);

    // Enabled: releasing the mouse on the track bar sends the new period.
    QTest::mouseClick(page()->WDTT, Qt::LeftButton, {}, QPoint(30, middle));
    const int back = page()->WDTT->Position();
    ASSERT_LT(back, period);
    EXPECT_EQ(tick(), Frames({"~0131" + tkm::protocol::HexText(static_cast<std::uint32_t>(back), 2)}));
    state = sim()->model().state();
    EXPECT_TRUE(state.watchdogEnabled);
    EXPECT_EQ(state.watchdogPeriod, back);
}

} // namespace
