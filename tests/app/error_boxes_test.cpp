// One error box at a time: the poll tick keeps running behind an open box (its modal loop runs the
// timers) without stacking boxes, and an error that recurs tick after tick is shown once.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "WindowFixture.h"

#include "app/AppDialogs.h"

#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

TEST(ExceptionBoxes, OneAtATimeAndNoTextTwice) {
    QStringList shown;
    std::function<void()> whileOpen;
    AppDialogs::setExceptionBox([&](const QString& text) {
        shown << text;
        if (whileOpen)
            std::exchange(whileOpen, nullptr)();
    });
    whileOpen = [] {
        AppDialogs::showException(QStringLiteral("A")); // the one open
        AppDialogs::showException(QStringLiteral("B"));
        AppDialogs::showException(QStringLiteral("B")); // already waiting
        AppDialogs::showException(QStringLiteral("C"));
    };
    AppDialogs::showException(QStringLiteral("A"));
    EXPECT_EQ(shown, QStringList({"A", "B", "C"}));

    // Closed: the same text is shown again when it comes again.
    AppDialogs::showException(QStringLiteral("A"));
    EXPECT_EQ(shown.size(), 4);
    AppDialogs::setExceptionBox({});
}

TEST(ExceptionBoxes, ACollectorGathersTextsInsteadOfShowingThem) {
    QStringList shown;
    AppDialogs::setExceptionBox([&](const QString& text) { shown << text; });
    QStringList gathered;
    {
        AppDialogs::ExceptionCollector collect(gathered);
        AppDialogs::showException(QStringLiteral("A"));
        AppDialogs::showException(QStringLiteral("A"));
        AppDialogs::showException(QStringLiteral("B"));
    }
    EXPECT_EQ(gathered, QStringList({"A", "B"}));
    EXPECT_TRUE(shown.isEmpty());
    AppDialogs::showException(QStringLiteral("C"));
    EXPECT_EQ(shown, QStringList({"C"}));
    AppDialogs::setExceptionBox({});
}

class ErrorBoxes : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window->setSleep([](int) {});
        // The box's modal loop: the poll timer fires in it, here ticksPerBox times.
        // A box opened inside another (which must not happen) is recorded but runs no loop of its own.
        AppDialogs::setExceptionBox([this](const QString& text) {
            exceptions << text;
            scanOnWhenABoxOpened = scanOnWhenABoxOpened || window->Scan->Active();
            if (++boxesOpen == 1) {
                for (int i = 0; i < ticksPerBox; ++i)
                    window->PollTick();
            }
            --boxesOpen;
        });
    }

    void talkTo(ScriptedPort::Script terminal) {
        port = std::make_unique<ScriptedPort>(std::move(terminal));
        window->setTransactPort(port.get());
    }

    int ticksPerBox = 4;
    int boxesOpen = 0;
    bool scanOnWhenABoxOpened = false;
    std::unique_ptr<ScriptedPort> port;
};

TEST_F(ErrorBoxes, ANonHexWatchdogPeriodEveryTickShowsOneBox) {
    ScriptedTerminal terminal;
    terminal.watchdog = "011ZZ";
    talkTo(terminal);
    window->Adr->SetPosition(1); // the user's move: its own box, with four ticks behind it
    window->PollTick();
    window->PollTick();
    ASSERT_EQ(exceptions.size(), 1);
    EXPECT_TRUE(exceptions[0].contains(QStringLiteral("is not a valid integer value")));
    // The ticks kept identifying behind the box and after it.
    EXPECT_GE(port->sent.size(), 9u * 7u);

    // Answered properly for one tick, the error is news again when it comes back.
    talkTo(ScriptedTerminal{});
    window->PollTick();
    EXPECT_TRUE(window->connection().found());
    talkTo(terminal);
    window->connection().lose();
    window->PollTick();
    EXPECT_EQ(exceptions.size(), 2);
}

TEST_F(ErrorBoxes, AScanIsNotResumedBehindTheBoxOfAnAddressOnTheWay) {
    ScriptedTerminal terminal;
    terminal.address = 5;
    terminal.watchdog = "051ZZ";
    talkTo(terminal);
    window->Scan->SetActive(true);
    window->PollTick();
    // Every address once, back to 0 when nothing was found, one box after the scan.
    std::vector<int> tried(256, 0);
    for (const std::string& frame : port->sent) {
        if (frame.size() == 4 && frame[0] == '$' && frame[3] == 'M')
            ++tried[static_cast<std::size_t>(std::stoi(frame.substr(1, 2), nullptr, 16))];
    }
    for (int a = 1; a <= 255; ++a)
        EXPECT_EQ(tried[static_cast<std::size_t>(a)], 1) << a;
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_FALSE(window->Scan->Active());
    EXPECT_EQ(exceptions.size(), 1);
    EXPECT_FALSE(scanOnWhenABoxOpened);
}

TEST_F(ErrorBoxes, TheRealPollTimerKeepsPollingBehindTheBox) {
    ScriptedTerminal terminal;
    terminal.watchdog = "011ZZ";
    talkTo(terminal);
    window->BR->setCurrentIndex(9); // the shortest poll interval
    window->BRChange();
    int ticks = 0;
    QObject::connect(window->Timer1, &QTimer::timeout, window.get(), [&] { ++ticks; });
    AppDialogs::setExceptionBox([&](const QString& text) {
        exceptions << text;
        QEventLoop modal;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &modal, [&] {
            if (ticks >= 4)
                modal.quit();
        });
        check.start(20);
        modal.exec();
    });
    window->Adr->SetPosition(1);
    window->Timer1->start();
    while (ticks < 5) // the box was closed after four ticks; one more outside it
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(exceptions.size(), 1);
    EXPECT_GE(port->sent.size(), 9u * 5u);
}

} // namespace
