// The page-entry sequence: what entering each page sends and shows, step by step, with the transaction
// answered by a scripted port.
#include "MainWindowFixture.h"

#include "app/DioPage.h"
#include "app/KeyboardPage.h"
#include "app/StatusBarPanels.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/UserSymbolsPage.h"
#include "app/WdtPage.h"

#include "widgets/TVrPowerButton.h"
#include "widgets/TVrRaster.h"
#include "widgets/TVrRasterLed.h"
#include "widgets/TVrTrackBar.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST_F(MainWindow, PageChangesWithFlagClearSendNothing) {
    talkTo(ScriptedTerminal{});
    window->WDTimer->WDTEN->SetActive(true);
    for (int i = 1; i < window->Page->count(); ++i)
        window->Page->setCurrentIndex(i);
    window->Page->setCurrentIndex(0);
    EXPECT_TRUE(port->sent.empty());
    EXPECT_TRUE(window->WDTimer->WDTEN->Active());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(MainWindow, LeavingWdtSendsClearAndWatchdogOff) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    window->Page->setCurrentWidget(window->WDTimer);
    EXPECT_EQ(port->sent.size(), 9u + 4u); // clear, watchdog read, two test-screen texts
    port->sent.clear();
    window->WDTimer->WDTEN->SetActive(true);
    window->Page->setCurrentWidget(window->Display);
    const std::vector<std::string> expected = {"$01T", "~013028"};
    EXPECT_EQ(port->sent, expected);
    EXPECT_FALSE(window->WDTimer->WDTEN->Active());
    EXPECT_TRUE(window->connection().found());
}

TEST_F(MainWindow, TestScreensOfEveryPage) {
    ScriptedTerminal terminal;
    talkTo(terminal);
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());

    struct Case {
        QWidget* page;
        std::vector<std::string> frames;
    };
    const std::string off = "~013028";
    const std::vector<Case> cases = {
        {window->Keyboard, {"$01T", off, "$01T000KEYBOARD TEST"}},
        {window->DIO, {"$01T", off, "$01T000DIO TEST"}},
        {window->UserSymbols,
         {"$01T", off, "$01T1000 1 2 3 4 5 6 7", "$01T200", "$01O\xB0 \xB1 \xB2 \xB3 \xB4 \xB5 \xB6 \xB7  ",
          "$01T000USER SYMBOLS"}},
        {window->Setting,
         {"$01T", off, "$01T000Address   :01", "$01T100Baud Rate :06", "$01T200Code page :01",
          "$01T300Check summ:00"}},
        {window->About,
         {"$01T", off, "$01T000Device   :TKM-9214", "$01T100Firmware :1.02", "$01T200Web site",
          "$01T300tkm.test"}},
        {window->WDTimer, {"$01T", "~012", "$01T000WDT TEST", "$01T100"}},
        {window->Display, {"$01T", off}},
    };
    for (const Case& c : cases) {
        port->sent.clear();
        window->Page->setCurrentWidget(c.page);
        EXPECT_EQ(port->sent, c.frames) << c.page->objectName().toStdString();
        EXPECT_TRUE(window->isEnabled());
    }
}

TEST_F(MainWindow, UserSymbolsEntrySendsTheCodePagesSymbolCodes) {
    for (const char* codePage : {"00", "01", "02"}) {
        ScriptedTerminal terminal;
        terminal.codePage = codePage;
        talkTo(terminal);
        window->Page->setCurrentWidget(window->Display);
        window->connection().lose();
        window->Timer1Timer(); // identifies at address 0... which is not the terminal's
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
        port->sent.clear();
        window->Page->setCurrentWidget(window->UserSymbols);
        std::string symbols;
        const unsigned char first = std::string(codePage) == "02" ? 0xB8 : 0xB0;
        for (int i = 0; i < 8; ++i)
            symbols += std::string(1, static_cast<char>(first + i)) + " ";
        ASSERT_GE(port->sent.size(), 5u);
        EXPECT_EQ(port->sent[4], "$01O" + symbols + " ") << codePage;
        window->Adr->SetPosition(0);
    }
}

TEST_F(MainWindow, PollTickOnSettingPageWithTerminalFoundSendsNothing) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    window->Page->setCurrentWidget(window->Setting);
    port->sent.clear();
    window->Timer1Timer();
    EXPECT_TRUE(port->sent.empty());
    EXPECT_TRUE(window->connection().found());
}

TEST_F(MainWindow, AFailedClearStillSendsTheTestScreenButNoWatchdogOff) {
    ScriptedTerminal terminal;
    talkTo(terminal);
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    port->setScript([terminal](const std::string& frame) {
        return frame == "$01T" ? std::string("?01\r") : terminal(frame); // the clear is refused
    });
    port->sent.clear();
    window->Page->setCurrentWidget(window->DIO);
    const std::vector<std::string> expected = {"$01T", "$01T000DIO TEST"};
    EXPECT_EQ(port->sent, expected);
    EXPECT_FALSE(window->connection().found());
    EXPECT_FALSE(window->WDTimer->WDTEN->Active());
}

TEST_F(MainWindow, TheWindowIsDisabledWhilePageEntryTalks) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    std::vector<bool> enabled;
    window->setSleep([&](int) { enabled.push_back(window->isEnabled()); });
    window->Page->setCurrentWidget(window->Setting);
    ASSERT_EQ(enabled.size(), 6u);
    for (bool e : enabled)
        EXPECT_FALSE(e);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(MainWindow, EnteringDioShowsTheCachedDirectionsAgain) {
    talkTo(ScriptedTerminal{}); // directions F0
    window->Adr->SetPosition(1);
    window->DIO->ShowDirections("0F"); // as if the switches had been moved
    window->DIO->Button8->setEnabled(true);
    window->Page->setCurrentWidget(window->DIO);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO0"))->text(), QStringLiteral("IN"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO7"))->text(), QStringLiteral("OUT"));
    EXPECT_FALSE(window->DIO->Button8->isEnabled());
}

TEST_F(MainWindow, EnteringUserSymbolsRedrawsFromTheTable) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    window->UserSymbols->setSymbolCode(3, "1F00000000000000");
    auto* raster = window->findChild<TVrRaster*>(QStringLiteral("US3"));
    ASSERT_NE(raster, nullptr);
    EXPECT_FALSE(raster->Items(0)->Active());
    window->Page->setCurrentWidget(window->UserSymbols);
    for (int dot = 0; dot < 5; ++dot)
        EXPECT_TRUE(raster->Items(dot)->Active()) << dot;
    EXPECT_FALSE(raster->Items(5)->Active());
}

TEST_F(MainWindow, ARefusedKeyboardTestTextLosesTheTerminal) {
    ScriptedTerminal terminal;
    talkTo([terminal](const std::string& frame) {
        return frame == "$01T000KEYBOARD TEST" ? std::string() : terminal(frame);
    });
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    window->Page->setCurrentWidget(window->Keyboard);
    EXPECT_FALSE(window->connection().found());
}

TEST_F(MainWindow, AFailedWatchdogReadOnEntryShowsTheWatchdogOff) {
    ScriptedTerminal terminal;
    talkTo(terminal);
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->WDTimer->WDTEN->Active());
    port->setScript(
        [terminal](const std::string& frame) { return frame == "~012" ? std::string() : terminal(frame); });
    window->Page->setCurrentWidget(window->WDTimer);
    EXPECT_FALSE(window->WDTimer->WDTEN->Active());
    EXPECT_EQ(window->WDTimer->WDTT->Position(), 0x28); // kept: nothing was read
    EXPECT_FALSE(window->connection().device().watchdog.enabled);
    EXPECT_FALSE(window->connection().found());
}

TEST_F(MainWindow, AFailedIdentificationShowsNoOldDirections) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    ASSERT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO0"))->text(), QStringLiteral("IN"));
    port->setScript([](const std::string&) { return std::string(); });
    window->connection().lose();
    window->Timer1Timer();
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO%1").arg(k))->text(), QStringLiteral("OUT"))
            << k;
    EXPECT_EQ(window->DIO->ReadLedBank(QStringLiteral("PON")), "00");
    EXPECT_EQ(window->StBar->panelText(1), QString());
}
