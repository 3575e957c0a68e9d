// The main window from the keyboard alone: Tab reaches every control of the connection panel and of
// the page shown, in reading order; each kind works by its keys; a click still takes no focus; the
// page tabs keep the focus while the arrows turn the pages. Synthetic key events, offscreen.
#include "MainWindowFixture.h"

#include "app/DioPage.h"
#include "app/DisplayPage.h"
#include "app/UserSymbolsPage.h"
#include "app/WdtPage.h"

#include "seriallink/TnrDeviceBox.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrRaster.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

class KeyboardUse : public MainWindow {
protected:
    void SetUp() override {
#if defined(__SANITIZE_THREAD__)
        // Only a window on a screen takes the keyboard, and it paints with Qt's own raster threads,
        // whose locking ThreadSanitizer cannot see in the uninstrumented Qt libraries; the plain and
        // AddressSanitizer runs cover these single-threaded steps.
        GTEST_SKIP() << "needs a shown window, which ThreadSanitizer cannot follow into Qt";
#endif
        MainWindow::SetUp();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    static QString focusName() {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(none)");
    }

    // The controls Tab stops at, from the one after the focus round to it again.
    static QStringList tabRound() {
        QStringList names;
        const QWidget* start = QApplication::focusWidget();
        for (int i = 0; i < 80; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == start)
                break;
            names << focusName();
        }
        return names;
    }

    void found() {
        talkTo(ScriptedTerminal{});
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
    }
};

TEST_F(KeyboardUse, TabReachesEveryControlOfThePanelAndOfThePageShownInReadingOrder) {
    const QStringList panel = {
        "nrDeviceBox1",       "BR", "BOP", "CSE", "Adr", "AdrDec", "AdrInc", "Scan", "RCVS", "Button4",
        "qt_tabwidget_tabbar"};
    QStringList dio;
    for (const char* prefix : {"DIO", "DDIO"})
        for (int k = 7; k >= 0; --k)
            dio << QString::fromLatin1(prefix) + QString::number(k);
    dio << "Button7"; // Save is disabled until a direction changes
    for (const char* prefix : {"PON", "SAFE"})
        for (int k = 7; k >= 0; --k)
            dio << QString::fromLatin1(prefix) + QString::number(k);
    dio << "Button9"
        << "Button10";
    const struct {
        TerminalPage* page;
        QStringList controls;
    } pages[] = {
        {window->Display,
         {"EnDispl", "BCurs", "Scurs", "EEPDispl", "Button14", "Button15", "Edit1", "Button12", "Button11",
          "Led1", "Led2", "CX", "CY", "Button13"}},
        {window->Keyboard, {"Fix"}}, // Clear is disabled until Fix is on
        {window->DIO, dio},
        // The symbol's radio buttons are one stop (the arrows move between them).
        {window->UserSymbols,
         {"Item0", "USCode", "US8", "InvUS", "ClearUS", "SaveSym", "SaveAllSym", "Button5", "Button6"}},
        {window->Setting,
         {"AdrNew", "Button1", "Button2", "BRNew", "CodePage", "CheckSum", "ReadSetting", "SaveSettign",
          "Button3", "Button16", "Button17"}},
        {window->WDTimer, {"Button18", "WDTT", "WDTEN", "RWDT", "DIS_RESWDT"}},
        {window->About, {"VrWebLabel1", "VrWebLabel2", "VrWebLabel3"}},
    };
    ASSERT_EQ(focusName(), QStringLiteral("nrDeviceBox1")) << "the window's first stop has the focus";
    for (const auto& p : pages) {
        window->Page->setCurrentWidget(p.page);
        window->nrDeviceBox1->setFocus();
        EXPECT_EQ(tabRound(), QStringList(panel.mid(1)) + p.controls) << p.page->objectName().toStdString();
    }
}

TEST_F(KeyboardUse, AClickTakesNoFocusFromWhereTheKeyboardLeftIt) {
    QTest::keyClick(window->nrDeviceBox1, Qt::Key_Tab);
    ASSERT_EQ(focusName(), QStringLiteral("BR"));
    QTest::mouseClick(window->BOP, Qt::LeftButton);
    QTest::mouseClick(window->Adr, Qt::LeftButton, {}, window->Adr->ThumbRect().center());
    EXPECT_EQ(focusName(), QStringLiteral("BR"));
}

TEST_F(KeyboardUse, SpaceSwitchesTheLampsAndTheOutputLines) {
    found();
    window->Display->Led1->setFocus(Qt::TabFocusReason);
    port->sent.clear();
    QTest::keyClick(window->Display->Led1, Qt::Key_Space);
    EXPECT_TRUE(window->Display->Led1->Active());
    EXPECT_EQ(port->sent, std::vector<std::string>{"$01I11"});

    window->Page->setCurrentWidget(window->DIO);
    auto* line7 = window->DIO->findChild<TVrUserLed*>(QStringLiteral("DIO7")); // an output ("F0")
    auto* line0 = window->DIO->findChild<TVrUserLed*>(QStringLiteral("DIO0")); // an input
    const bool before7 = line7->Active();
    const bool before0 = line0->Active();
    line7->setFocus(Qt::TabFocusReason);
    QTest::keyClick(line7, Qt::Key_Space);
    line0->setFocus(Qt::TabFocusReason);
    QTest::keyClick(line0, Qt::Key_Space);
    EXPECT_NE(line7->Active(), before7) << "an output is inverted, as by a click";
    EXPECT_EQ(line0->Active(), before0) << "an input is not";
}

TEST_F(KeyboardUse, TheArrowsAndSpaceInvertTheSymbolEditorsDots) {
    window->Page->setCurrentWidget(window->UserSymbols);
    auto* editor = window->UserSymbols->findChild<TVrRaster*>(QStringLiteral("US8"));
    editor->setFocus(Qt::TabFocusReason);
    QTest::keyClick(editor, Qt::Key_Space);
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClick(editor, Qt::Key_Space);
    EXPECT_EQ(window->UserSymbols->symbolCode(0), "1008000000000000") << "dots 0 and 6: the symbol follows";
    EXPECT_EQ(window->UserSymbols->USCode->text(), QStringLiteral("1008000000000000"));
}

TEST_F(KeyboardUse, APeriodSetWithTheKeysGoesOutWhenTheKeyIsReleasedWhileTheWatchdogIsOn) {
    found();
    window->Page->setCurrentWidget(window->WDTimer);
    WdtPage* page = window->WDTimer;
    ASSERT_TRUE(page->WDTEN->Active()) << "read as enabled on entry";
    page->WDTT->setFocus(Qt::TabFocusReason);
    port->sent.clear();
    QTest::keyPress(page->WDTT, Qt::Key_Right);
    EXPECT_EQ(page->WDTT->Position(), 50);
    page->Poll();
    EXPECT_EQ(port->sent.front(), "~**") << "no new period while the key is held";
    QTest::keyRelease(page->WDTT, Qt::Key_Right);
    port->sent.clear();
    page->Poll();
    EXPECT_EQ(port->sent, std::vector<std::string>{"~013132"});
}

TEST_F(KeyboardUse, TheArrowsOnThePageTabsTurnThePagesAndKeepTheFocus) {
    found();
    QTabBar* tabs = window->Page->tabBar();
    while (QApplication::focusWidget() != tabs)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    port->sent.clear();
    QTest::keyClick(tabs, Qt::Key_Right);
    EXPECT_EQ(window->Page->currentWidget(), window->Keyboard);
    EXPECT_FALSE(port->sent.empty()) << "the page was entered (the window disabled meanwhile)";
    EXPECT_EQ(QApplication::focusWidget(), tabs);
    QTest::keyClick(tabs, Qt::Key_Right);
    EXPECT_EQ(window->Page->currentWidget(), window->DIO);
    EXPECT_EQ(QApplication::focusWidget(), tabs);
}

} // namespace
