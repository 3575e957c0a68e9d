// The WDT page against a scripted terminal: the watchdog poll's order, the requests its buttons raise,
// the period caption and malformed replies.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "WindowFixture.h"

#include "app/WdtPage.h"

#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Frames = std::vector<std::string>;

// The window found at address 1 and showing the WDT page; the terminal read its watchdog as enabled
// with 4 s (WDTEN on, WDTT 40). The status and watchdog replies are the fixture's to change.
class WdtPageTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window->setSleep([](int) {});
        port = std::make_unique<ScriptedPort>([this](const std::string& frame) { return answer(frame); });
        window->setTransactPort(port.get());
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
        window->Page->setCurrentWidget(window->WDTimer);
        ASSERT_TRUE(page()->WDTEN->Active());
        ASSERT_EQ(page()->WDTT->Position(), 0x28);
        port->sent.clear();
    }

    std::string answer(const std::string& frame) const {
        if (frame == "~**")
            return {}; // the terminal does not answer it
        if (frame == "~010")
            return status.empty() ? std::string() : "!" + status + "\r";
        if (refused == frame)
            return "?01\r";
        return terminal(frame);
    }

    WdtPage* page() const { return window->WDTimer; }

    // One poll tick; the frames it sent.
    Frames tick() {
        port->sent.clear();
        window->Timer1Timer();
        return port->sent;
    }

    std::unique_ptr<ScriptedPort> port;
    ScriptedTerminal terminal;
    std::string status = "0100"; // the ~010 payload; empty: no answer
    std::string refused;         // a frame the terminal refuses
};

// ---- The poll's order ----

struct PollCase {
    const char* name;
    std::function<void(WdtPage&)> before; // requests raised, buttons set
    std::string status;
    Frames frames;
    bool result;
};

TEST_F(WdtPageTest, ThePollServesOneStepAfterAnotherInItsOrder) {
    const std::vector<PollCase> cases = {
        {"enabled: host alive, then the status", [](WdtPage&) {}, "0100", {"~**", "~010"}, true},
        {"disabled: no host alive", [](WdtPage& p) { p.WDTEN->SetActive(false); }, "0100", {"~010"}, true},
        {"reset disabled: no host alive",
         [](WdtPage& p) { p.DIS_RESWDT->SetActive(true); },
         "0100",
         {"~010"},
         true},
        {"write request: the set alone", [](WdtPage& p) { p.WDTENClick(); }, "0100", {"~013128"}, true},
        {"read request, then the rest",
         [](WdtPage& p) { p.RWDTClick(); },
         "0100",
         {"~012", "~**", "~010"},
         true},
        {"read and write requests: no status",
         [](WdtPage& p) {
             p.RWDTClick();
             p.WDTENClick();
         },
         "0100",
         {"~012", "~013128"},
         true},
        {"reset while green: nothing at all", [](WdtPage& p) { p.Button18Click(); }, "0100", {}, true},
        {"reset while red: reset first",
         [](WdtPage& p) {
             p.Stat_dev->SetActive(true);
             p.Button18Click();
         },
         "0100",
         {"~011", "~**", "~010"},
         true},
        {"status of the wrong length", [](WdtPage&) {}, "01000", {"~**", "~010"}, false},
        {"status not answered", [](WdtPage&) {}, "", {"~**", "~010"}, false},
    };
    for (const PollCase& c : cases) {
        SCOPED_TRACE(c.name);
        page()->Stat_dev->SetActive(false);
        page()->WDTEN->SetActive(true);
        page()->DIS_RESWDT->SetActive(false);
        c.before(*page());
        status = c.status;
        port->sent.clear();
        EXPECT_EQ(page()->Poll(), c.result);
        EXPECT_EQ(port->sent, c.frames);
    }
}

TEST_F(WdtPageTest, TheStatusLampShowsTheAlarm) {
    struct Case {
        const char* status;
        bool red;
    };
    for (const Case& c : {Case{"0104", true}, Case{"0100", false}, Case{"0140", false}, Case{"0104", true},
                          Case{"01ZZ", false}}) {
        status = c.status;
        EXPECT_TRUE(page()->Poll()) << c.status;
        EXPECT_EQ(page()->Stat_dev->Active(), c.red) << c.status;
    }
}

TEST_F(WdtPageTest, AReadRequestShowsWhatWasRead) {
    terminal.watchdog = "01019"; // disabled, 2.5 s: the track bar moves all the same
    page()->RWDTClick();
    EXPECT_EQ(tick(), Frames({"~012", "~010"}));
    EXPECT_FALSE(page()->WDTEN->Active());
    EXPECT_EQ(page()->WDTT->Position(), 0x19);
    EXPECT_EQ(page()->GroupBoxWDT->title(), QStringLiteral("Period WDT=0x19  2.5 (sec) "));
    EXPECT_TRUE(window->connection().found());
}

TEST_F(WdtPageTest, AFailedReadEndsTheTickTouchesNothingAndLosesTheTerminal) {
    terminal.watchdog = "0112"; // one character short
    page()->RWDTClick();
    page()->WDTT->SetPosition(7);
    EXPECT_EQ(tick(), Frames({"~012"}));
    EXPECT_TRUE(page()->WDTEN->Active());
    EXPECT_EQ(page()->WDTT->Position(), 7);
    EXPECT_FALSE(window->connection().device().watchdog.enabled);
    EXPECT_FALSE(window->connection().found());
    EXPECT_TRUE(exceptions.isEmpty());
}

TEST_F(WdtPageTest, ARefusedSetOrResetFailsThePoll) {
    refused = "~013128";
    page()->WDTENClick();
    EXPECT_FALSE(page()->Poll());
    refused = "~011";
    page()->Stat_dev->SetActive(true);
    page()->Button18Click();
    port->sent.clear();
    EXPECT_FALSE(page()->Poll());
    EXPECT_EQ(port->sent, Frames({"~011"}));
}

TEST_F(WdtPageTest, ALostTerminalDropsEveryRequest) {
    page()->Stat_dev->SetActive(true);
    page()->RWDTClick();
    page()->WDTENClick();
    page()->Button18Click();
    window->connection().lose();
    EXPECT_FALSE(page()->Poll());
    EXPECT_TRUE(port->sent.empty());
    EXPECT_FALSE(page()->WDTEN->Active());
    EXPECT_FALSE(page()->Stat_dev->Active());

    // Found again (the identification reads the watchdog as enabled): no request is left.
    window->Timer1Timer();
    ASSERT_TRUE(window->connection().found());
    EXPECT_EQ(tick(), Frames({"~**", "~010"}));
}

// ---- Requests from the buttons ----

TEST_F(WdtPageTest, TheButtonsRaiseRequestsServedByTheNextTickOnlyOnce) {
    struct Case {
        const char* name;
        std::function<void()> press;
        Frames next;
    };
    page()->Stat_dev->SetActive(true);
    const std::vector<Case> cases = {
        {"Read WDT", [&] { QTest::mouseClick(page()->RWDT, Qt::LeftButton); }, {"~012", "~**", "~010"}},
        {"RESET Status",
         [&] { QTest::mouseClick(page()->Button18, Qt::LeftButton); },
         {"~011", "~**", "~010"}},
        {"the status lamp",
         [&] { QTest::mouseClick(page()->Stat_dev, Qt::LeftButton); },
         {"~011", "~**", "~010"}},
        // Toggled twice, so on again: one set, with the watchdog on.
        {"WDT Enabled", [&] { QTest::mouseClick(page()->WDTEN, Qt::LeftButton); }, {"~013128"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        status = "0104"; // red again, so that a reset is sent
        page()->WDTEN->SetActive(true);
        tick();
        c.press();
        c.press(); // twice: still one request
        EXPECT_EQ(tick(), c.next);
        const Frames plain = page()->WDTEN->Active() ? Frames{"~**", "~010"} : Frames{"~010"};
        EXPECT_EQ(tick(), plain);
    }
}

// ---- The period caption ----

TEST(WdtPeriodCaption, SecondsInGeneralFormWithTheLocalesSeparator) {
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    struct Case {
        int position;
        const QLocale& locale;
        const char* caption;
    };
    for (const Case& k :
         {Case{30, c, "Period WDT=0x1E  3 (sec) "}, Case{25, c, "Period WDT=0x19  2.5 (sec) "},
          Case{255, c, "Period WDT=0xFF  25.5 (sec) "}, Case{0, c, "Period WDT=0x00  0 (sec) "},
          Case{1, c, "Period WDT=0x01  0.1 (sec) "}, Case{25, german, "Period WDT=0x19  2,5 (sec) "},
          Case{40, german, "Period WDT=0x28  4 (sec) "}})
        EXPECT_EQ(WdtPage::PeriodCaption(k.position, k.locale), QString::fromLatin1(k.caption)) << k.position;

    // Every position is whole tenths: no binary residue such as 0.30000000000000004 shows.
    for (int p = 0; p <= 255; ++p) {
        const QString tenths =
            p % 10 ? QStringLiteral("%1.%2").arg(p / 10).arg(p % 10) : QString::number(p / 10);
        EXPECT_TRUE(
            WdtPage::PeriodCaption(p, c).endsWith(QStringLiteral("  ") + tenths + QStringLiteral(" (sec) ")))
            << p;
    }
}

class WdtFreshWindow : public WindowFixture {};

TEST_F(WdtFreshWindow, TheCaptionIsAsDesignedUntilTheTrackBarFirstMoves) {
    WdtPage* fresh = window->WDTimer;
    EXPECT_EQ(fresh->GroupBoxWDT->title(), QStringLiteral("Period WDT=0x1E  3.0 (sec) "));
    fresh->WDTT->SetPosition(30); // no change
    EXPECT_EQ(fresh->GroupBoxWDT->title(), QStringLiteral("Period WDT=0x1E  3.0 (sec) "));
    fresh->WDTT->SetPosition(31);
    fresh->WDTT->SetPosition(30);
    EXPECT_EQ(fresh->GroupBoxWDT->title(), QStringLiteral("Period WDT=0x1E  3 (sec) "));
}

TEST_F(WdtPageTest, TheCaptionUsesTheDecimalSeparatorOfTheLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    page()->WDTT->SetPosition(25);
    QLocale::setDefault(before);
    EXPECT_EQ(page()->GroupBoxWDT->title(), QStringLiteral("Period WDT=0x19  2,5 (sec) "));
}

// ---- Malformed watchdog replies ----

TEST_F(WdtPageTest, ANonHexPeriodRaisesTheConversionErrorOnceAndLosesTheTerminal) {
    terminal.watchdog = "011ZZ";
    page()->RWDTClick();
    window->PollTick();
    ASSERT_EQ(exceptions.size(), 1);
    EXPECT_TRUE(exceptions[0].contains(QStringLiteral("is not a valid integer value")));
    EXPECT_FALSE(window->connection().found());
    // The identification meets it again on every tick: no further box, and no page poll talks.
    for (int i = 0; i < 3; ++i) {
        port->sent.clear();
        window->PollTick();
        EXPECT_EQ(port->sent.back(), "~012");
    }
    EXPECT_EQ(exceptions.size(), 1);
}

TEST_F(WdtPageTest, ANonHexPeriodOnEntryLosesTheTerminal) {
    window->Page->setCurrentWidget(window->Display);
    terminal.watchdog = "011ZZ";
    window->Page->setCurrentWidget(window->WDTimer);
    ASSERT_EQ(exceptions.size(), 1);
    EXPECT_FALSE(window->connection().found());
    EXPECT_TRUE(window->isEnabled());
}

} // namespace
