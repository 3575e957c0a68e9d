// The window with its timers running, as a user has it: the poll tick identifies, scans and polls on
// its own. The scripted terminal's values differ from every initial state of the window, so a step
// that does not show what it read is seen.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "WindowFixture.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

class LiveWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        port = std::make_unique<ScriptedPort>(ScriptedTerminal{});
        window->setTransactPort(port.get());
        window->setSleep([](int) {});
        window->BR->setCurrentIndex(9); // the shortest poll interval
        window->BRChange();
        window->Timer1->start();
        window->Keyboard->Timer3->start();
    }

    // Runs the event loop until done() holds; the cap only keeps a broken build from hanging.
    bool runUntil(const std::function<bool()>& done) {
        QElapsedTimer cap;
        cap.start();
        while (!done() && cap.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return done();
    }

    // Runs the event loop until the poll timer has fired n more times.
    void ticks(int n) {
        int fired = 0;
        const auto counter = QObject::connect(window->Timer1, &QTimer::timeout, [&] { ++fired; });
        runUntil([&] { return fired >= n; });
        QObject::disconnect(counter);
    }

    std::unique_ptr<ScriptedPort> port;
};

TEST_F(LiveWindow, ThePollTimerFindsTheTerminalAndShowsWhatItRead) {
    window->Adr->SetPosition(1); // identified by the move already; lose it so the tick does it
    window->connection().lose();
    port->sent.clear();
    ASSERT_TRUE(runUntil([&] { return window->connection().found(); }));
    EXPECT_EQ(port->sent.front(), "$01M");
    // Watchdog enabled with 4 s, lines A5, directions F0: none of them the window's starting state.
    EXPECT_TRUE(window->WDTimer->WDTEN->Active());
    EXPECT_EQ(window->WDTimer->WDTT->Position(), 0x28);
    EXPECT_EQ(window->DIO->ReadLedBank(QStringLiteral("DIO")), "A5");
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO7"))->text(), QStringLiteral("OUT"));
    EXPECT_EQ(window->DIO->ReadLedBank(QStringLiteral("PON")), "0F");
}

TEST_F(LiveWindow, AScanFindsTheTerminalAndThePollTimerGoesOnAfterwards) {
    ScriptedTerminal terminal;
    terminal.address = 0x20;
    port->setScript(terminal);
    window->Scan->SetActive(true);
    ASSERT_TRUE(runUntil([&] { return !window->Scan->Active(); }));
    EXPECT_EQ(window->Adr->Position(), 0x20);
    EXPECT_TRUE(window->connection().found());
    EXPECT_TRUE(window->Timer1->isActive());
    port->sent.clear();
    ticks(2);
    EXPECT_TRUE(port->sent.empty()); // found, on the Display page: the ticks send nothing
}

TEST_F(LiveWindow, AScanOnAClosedPortStartsThePollTimerAgain) {
    port->active = false;
    window->Adr->SetPosition(7);
    window->Scan->SetActive(true);
    ASSERT_TRUE(runUntil([&] { return !window->Scan->Active(); }));
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_TRUE(window->Timer1->isActive());
    ticks(2);
}

TEST_F(LiveWindow, AnotherPortIdentifiesAtOnce) {
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    window->Timer1->stop(); // only the port change talks now
    port->sent.clear();
    const int current = window->nrDeviceBox1->currentIndex();
    window->nrDeviceBox1->Change(current == 0 ? 1 : 0);
    ASSERT_FALSE(port->sent.empty());
    EXPECT_EQ(port->sent.front(), "$01M");
    EXPECT_TRUE(window->connection().found());
}

TEST_F(LiveWindow, PollingGoesOnWhileTheHighlightTickRuns) {
    window->Adr->SetPosition(1);
    window->Keyboard->setHighlight(3, 1);
    window->Keyboard->setKeyPanelColor(3, QColor(0, 255, 0));
    const QColor face = window->palette().color(QPalette::Button);
    ASSERT_TRUE(
        runUntil([&] { return window->Keyboard->keyPanel(3)->palette().color(QPalette::Window) == face; }));
    EXPECT_TRUE(window->connection().found());
}

} // namespace
