// The main window's structure and its connection-panel handlers, with the transaction answered by a
// scripted port.
#include "MainWindowFixture.h"

#include "app/AboutPage.h"
#include "app/AppDialogs.h"
#include "app/DioPage.h"
#include "app/FileDialog.h"
#include "app/KeyboardPage.h"
#include "app/StartOptions.h"
#include "app/StatusBarPanels.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/TrafficMemo.h"
#include "app/WdtPage.h"

#include "seriallink/TnrComm.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrRaster.h"
#include "widgets/TVrRasterLed.h"
#include "widgets/TVrSwitch.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"
#include "widgets/TVrWebLabel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST_F(MainWindow, IsBuiltAsDesigned) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("TKM-9214 Utility"));
    EXPECT_EQ(window->size(), QSize(498, 618));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window->Page->currentWidget(), window->Display);
    EXPECT_EQ(window->Timer1->interval(), 382);
    EXPECT_EQ(window->Keyboard->Timer3->interval(), 150);
    EXPECT_EQ(window->BR->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(window->BR->count(), 10);
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("ADDRESS=0x00 / 0 "));
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Open port"));
    EXPECT_FALSE(window->CSE->Active());
    EXPECT_FALSE(window->connection().found());

    const char* const names[] = {"Display", "Keyboard", "DIO", "UserSymbols", "Setting", "WDTimer", "About"};
    const char* const captions[] = {"Display", "Keyboard", "DIO", "UserSymbols", "Setting", "WDT", "About"};
    ASSERT_EQ(window->Page->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(window->Page->widget(i)->objectName(), QString::fromLatin1(names[i]));
        EXPECT_EQ(window->Page->tabText(i), QString::fromLatin1(captions[i]));
    }

    // Every component the pages and the display rules look up by name exists.
    QStringList expected = {
        "Panel1",      "nrDeviceBox1", "BR",       "BOP",         "CSE",        "led",      "GroupBox1",
        "Adr",         "AdrDec",       "AdrInc",   "Scan",        "StBar",      "RCVS",     "Button4",
        "Timer1",      "Timer3",       "Page",     "EnDispl",     "BCurs",      "Scurs",    "EEPDispl",
        "Button14",    "Button15",     "Edit1",    "LStr",        "Button12",   "Button11", "Led1",
        "Led2",        "CX",           "CY",       "Button13",    "Fix",        "ClearKey", "Button7",
        "Button8",     "Button9",      "Button10", "SUS",         "USCode",     "InvUS",    "ClearUS",
        "SaveSym",     "SaveAllSym",   "Button5",  "Button6",     "GroupBox2",  "AdrNew",   "Button1",
        "Button2",     "BRNew",        "CodePage", "CheckSum",    "Label1",     "Label4",   "Label5",
        "ReadSetting", "SaveSettign",  "Button3",  "Button16",    "Button17",   "Stat_dev", "Button18",
        "WDTT",        "WDTEN",        "RWDT",     "DIS_RESWDT",  "Label22",    "Label23",  "VrWebLabel1",
        "VrWebLabel2", "VrWebLabel3",  "Image1",   "OpenDialog1", "SaveDialog1"};
    for (int k = 1; k <= 30; ++k)
        expected << QStringLiteral("B%1").arg(k);
    for (int k = 0; k < 8; ++k)
        expected << QStringLiteral("DIO%1").arg(k) << QStringLiteral("DDIO%1").arg(k)
                 << QStringLiteral("CDDIO%1").arg(k) << QStringLiteral("PON%1").arg(k)
                 << QStringLiteral("SAFE%1").arg(k) << QStringLiteral("US%1").arg(k);
    expected << QStringLiteral("US8");
    for (const QString& name : expected)
        EXPECT_NE(window->findChild<QObject*>(name), nullptr) << name.toStdString();

    const StatusBarPanels* bar = window->StBar;
    ASSERT_EQ(bar->panelCount(), 9);
    EXPECT_EQ(bar->panelText(0), QStringLiteral("Dev"));
    EXPECT_EQ(bar->panelText(2), QStringLiteral("FW"));
    EXPECT_EQ(bar->panelText(4), QStringLiteral("Code Page"));
    EXPECT_EQ(bar->panelText(6), QStringLiteral("Check Summ"));
    for (const FileDialog* dialog : {window->OpenDialog1, window->SaveDialog1}) {
        EXPECT_EQ(dialog->InitialDir(), QCoreApplication::applicationDirPath());
        EXPECT_EQ(dialog->Filter(), QStringLiteral("tkm_setting (*.tkm)"));
    }
    EXPECT_FALSE(window->Keyboard->ClearKey->isEnabled());
    EXPECT_FALSE(window->DIO->Button8->isEnabled());
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO3"))->text(), QStringLiteral("IN"));
}

// A title bar may offer a maximize button whatever the window asks for (Qt's own Wayland decoration
// does): the window keeps its designed size.
TEST_F(MainWindow, RefusesToBeMaximized) {
    window->setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(498, 618));
}

TEST_F(MainWindow, VersionOptionSaysTheVersionTheAboutPageShows) {
    EXPECT_EQ(window->About->Label23->text(), QStringLiteral("Ver.1.1"));
    const StartOptions version =
        StartOptions::parse({QStringLiteral("tkm9214-utility"), QStringLiteral("--version")});
    EXPECT_EQ(version.text, QStringLiteral("tkm9214-utility 1.1\n"));
}

TEST_F(MainWindow, AboutPictureIsDecodedIntoImage1WhenThePageIsFirstShown) {
    const QLabel* image = window->About->Image1;
    window->show();
    EXPECT_TRUE(image->pixmap().isNull());
    window->Page->setCurrentWidget(window->About);
    ASSERT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(image->pixmap().size(), QSize(300, 140));
    EXPECT_EQ(image->geometry(), QRect(160, 16, 300, 140));
}

TEST_F(MainWindow, AddressChangeSetsCaptionAndIdentifiesThere) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(10);
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("ADDRESS=0x0A / 10  "));
    ASSERT_FALSE(port->sent.empty());
    EXPECT_EQ(port->sent.front(), "$0AM");
    EXPECT_FALSE(window->connection().found());
}

TEST_F(MainWindow, MinusAtAddressZeroSendsNothing) {
    talkTo(ScriptedTerminal{});
    QTest::mouseClick(window->AdrDec, Qt::LeftButton);
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_TRUE(port->sent.empty());
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("ADDRESS=0x00 / 0 "));
}

TEST_F(MainWindow, IdentificationReadsInOrderAndFillsStatusBar) {
    ScriptedTerminal terminal;
    terminal.codePage = "02";
    talkTo(terminal);
    window->Adr->SetPosition(1);
    EXPECT_TRUE(window->connection().found());
    const std::vector<std::string> order = {"$01M", "$01F", "$01D", "~014P", "~014S",
                                            "@01",  "$01T", "$012", "~012"};
    EXPECT_EQ(port->sent, order);
    EXPECT_EQ(window->StBar->panelText(1), QStringLiteral("TKM-9214"));
    EXPECT_EQ(window->StBar->panelText(3), QStringLiteral("1.02"));
    EXPECT_EQ(window->StBar->panelText(5), QStringLiteral("KOI-8R"));
    EXPECT_EQ(window->StBar->panelText(7), QStringLiteral("OFF"));
    // Direction byte F0: lines 0..3 inputs; power-on 0F lights PON4..7; safe 81 lights SAFE0 and SAFE7.
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO0"))->text(), QStringLiteral("IN"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO4"))->text(), QStringLiteral("OUT"));
    EXPECT_EQ(window->DIO->ReadLedBank(QStringLiteral("PON")), "0F");
    EXPECT_EQ(window->DIO->ReadLedBank(QStringLiteral("SAFE")), "81");
    EXPECT_EQ(window->connection().device().configuration.address, "01");
    EXPECT_EQ(window->connection().device().configuration.codePageCode, "02");
    // Every exchange is in the traffic log, once the event loop has had its turn.
    QCoreApplication::processEvents();
    EXPECT_EQ(window->RCVS->lineCount(), 9);
}

TEST_F(MainWindow, ConfigurationOfWrongLengthFailsIdentification) {
    for (const std::string configuration : {"010Z06010", "010Z0601000"}) {
        // Found first with a proper configuration, so the failure has a flag to clear.
        talkTo(ScriptedTerminal{});
        window->Adr->SetPosition(window->Adr->Position() == 1 ? 0 : 1);
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
        ScriptedTerminal terminal;
        terminal.configuration = configuration;
        talkTo(terminal);
        window->Timer1Timer();
        window->connection().lose();
        window->Timer1Timer();
        EXPECT_FALSE(window->connection().found()) << configuration;
        EXPECT_EQ(port->sent.back(), "$012") << configuration;
        EXPECT_EQ(window->StBar->panelText(1), QString()) << configuration;
    }
}

TEST_F(MainWindow, NonHexWatchdogPeriodShowsTheConversionError) {
    ScriptedTerminal terminal;
    terminal.watchdog = "011ZZ";
    talkTo(terminal);
    window->Adr->SetPosition(1);
    EXPECT_FALSE(window->connection().found());
    ASSERT_EQ(exceptions.size(), 1);
    EXPECT_TRUE(exceptions[0].contains(QStringLiteral("is not a valid integer value")));
}

TEST_F(MainWindow, BaudRateSetsPollInterval) {
    const int expected[] = {1374, 862, 606, 478, 414, 382, 366, 358, 354, 352};
    for (int i = 0; i < 10; ++i) {
        window->BR->setCurrentIndex(i);
        window->BRChange();
        EXPECT_EQ(window->Timer1->interval(), expected[i]) << i;
    }
}

TEST_F(MainWindow, HighlightFadesOnTheFourthTick) {
    const QColor face = window->palette().color(QPalette::Button);
    window->Keyboard->setHighlight(12, 3);
    window->Keyboard->setKeyPanelColor(12, QColor(0, 255, 0));
    for (int tick = 1; tick <= 3; ++tick) {
        window->Keyboard->Timer3Timer();
        EXPECT_EQ(window->Keyboard->keyPanel(12)->palette().color(QPalette::Window), QColor(0, 255, 0))
            << tick;
    }
    window->Keyboard->Timer3Timer();
    EXPECT_EQ(window->Keyboard->keyPanel(12)->palette().color(QPalette::Window), face);

    // Fix holds the highlight only while the terminal is found.
    window->Keyboard->setHighlight(5, 1);
    window->Keyboard->setKeyPanelColor(5, QColor(0, 255, 0));
    window->Keyboard->Fix->SetActive(true);
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    for (int tick = 0; tick < 5; ++tick)
        window->Keyboard->Timer3Timer();
    EXPECT_EQ(window->Keyboard->highlight(5), 1);
    window->connection().lose();
    window->Keyboard->Timer3Timer();
    window->Keyboard->Timer3Timer();
    EXPECT_EQ(window->Keyboard->keyPanel(5)->palette().color(QPalette::Window), face);
}

TEST_F(MainWindow, OpeningAMissingPortShowsTheErrorAndLeavesBopOn) {
    window->nrComm1->SetComPortNo(250);
    QTest::mouseClick(window->BOP, Qt::LeftButton);
    EXPECT_TRUE(window->BOP->Active());
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Open port"));
    EXPECT_FALSE(window->nrComm1->GetActive());
    ASSERT_EQ(exceptions.size(), 1);
    EXPECT_TRUE(exceptions[0].contains(QStringLiteral("Open Error")));
    // The next click closes, which succeeds.
    QTest::mouseClick(window->BOP, Qt::LeftButton);
    EXPECT_FALSE(window->BOP->Active());
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Open port"));
    EXPECT_EQ(exceptions.size(), 1);
}

TEST_F(MainWindow, ScanWithNobodyTriesEveryAddressOnceAndReturnsToZero) {
    talkTo([](const std::string&) { return std::string(); });
    window->BR->setCurrentIndex(9);
    window->BRChange();
    port->sent.clear();
    window->Scan->SetActive(true);
    window->AddressScan();
    std::vector<std::string> names;
    for (const std::string& frame : port->sent)
        if (frame.size() == 4 && frame[3] == 'M')
            names.push_back(frame);
    ASSERT_EQ(names.size(), 256u); // 1..255, then 0 again
    for (int a = 1; a <= 255; ++a)
        EXPECT_EQ(names[static_cast<size_t>(a - 1)], "$" + tkm::protocol::AddressText(a) + "M");
    EXPECT_EQ(names.back(), "$00M");
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_FALSE(window->Scan->Active());
    EXPECT_FALSE(window->connection().found());
}

TEST_F(MainWindow, ScanFindsTheTerminalAndStops) {
    ScriptedTerminal terminal;
    terminal.address = 0x37;
    talkTo(terminal);
    window->Scan->SetActive(true);
    window->Timer1Timer();
    EXPECT_EQ(window->Adr->Position(), 0x37);
    EXPECT_TRUE(window->connection().found());
    EXPECT_FALSE(window->Scan->Active());
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("ADDRESS=0x37 / 55  "));
}

TEST_F(MainWindow, LedBankAndDirectionRules) {
    struct Case {
        std::string value;
        std::string readBack;
        const char* captions; // CDDIO0..7 for the same byte as a direction byte: I = IN, O = OUT
    };
    const Case cases[] = {
        {"F0", "F0", "IIIIOOOO"}, {"01", "01", "OOOOOOOI"}, {"", "00", "OOOOOOOO"},
        {"ff", "FF", "IIIIIIII"}, {"G1", "01", "OOOOOOOI"}, // a non-hex digit counts as 0000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        window->DIO->ShowLedBank(QStringLiteral("DIO"), c.value);
        EXPECT_EQ(window->DIO->ReadLedBank(QStringLiteral("DIO")), c.readBack);
        window->DIO->Button8->setEnabled(true);
        window->DIO->ShowDirections(c.value);
        EXPECT_FALSE(window->DIO->Button8->isEnabled());
        for (int k = 0; k < 8; ++k) {
            const bool input = c.captions[k] == 'I';
            EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("CDDIO%1").arg(k))->text(),
                      input ? QStringLiteral("IN") : QStringLiteral("OUT"));
            EXPECT_EQ(window->findChild<TVrSwitch*>(QStringLiteral("DDIO%1").arg(k))->Offset(),
                      input ? 0 : 1);
        }
    }
    // Line 7 is the least significant bit: "01" lights only DIO7.
    window->DIO->ShowLedBank(QStringLiteral("DIO"), "01");
    EXPECT_TRUE(window->findChild<TVrUserLed*>(QStringLiteral("DIO7"))->Active());
    EXPECT_FALSE(window->findChild<TVrUserLed*>(QStringLiteral("DIO0"))->Active());
}

TEST_F(MainWindow, TrafficLogLinesWaitForTheEventLoopAndAreNumberedInOrder) {
    talkTo(ScriptedTerminal{});
    window->connection().Transact("$01M", "!01", 0);
    window->connection().Transact("$01F", "!01", 0);
    window->connection().Transact("$01D", "!01", 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->RCVS->toPlainText(),
              QStringLiteral("1\t$01M --> !01TKM-9214\n2\t$01F --> !011.02\n3\t$01D --> !01F0"));

    // Clear drops what still waits, so nothing reappears after it.
    window->connection().Transact("$01M", "!01", 0);
    QTest::mouseClick(window->Button4, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->RCVS->toPlainText().isEmpty());
    window->connection().Transact("$01F", "!01", 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->RCVS->toPlainText(), QStringLiteral("1\t$01F --> !011.02"));
}

TEST_F(MainWindow, TrafficLogClearsAndTheClearButtonEmptiesIt) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    EXPECT_FALSE(window->RCVS->toPlainText().isEmpty());
    EXPECT_TRUE(window->RCVS->toPlainText().startsWith(QStringLiteral("1\t$01M --> !01TKM-9214")));
    QTest::mouseClick(window->Button4, Qt::LeftButton);
    EXPECT_TRUE(window->RCVS->toPlainText().isEmpty());
}

namespace {
// Records the activity lamp's state each time it is painted.
class LampPaints : public QObject {
public:
    explicit LampPaints(TVrUserLed* led) : led_(led) { led->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            states.push_back(led_->Active());
        return false;
    }
    std::vector<bool> states;

private:
    TVrUserLed* led_;
};
} // namespace

TEST_F(MainWindow, ActivityLampIsPaintedLitDuringTheReplyWaitAndDarkAfterwards) {
#if defined(__SANITIZE_THREAD__)
    // Painting a shown window fans out to Qt's own raster threads, whose locking ThreadSanitizer
    // cannot see in the uninstrumented Qt libraries; the plain and AddressSanitizer runs cover this.
    GTEST_SKIP() << "needs a painted window, which ThreadSanitizer cannot follow into Qt";
#endif
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
    talkTo(ScriptedTerminal{});
    LampPaints paints(window->led);
    std::vector<bool> paintedBeforeTheWait;
    window->setSleep([&](int) { paintedBeforeTheWait = paints.states; });

    EXPECT_EQ(window->connection().Transact("$01M", "!01", 0), "TKM-9214");
    EXPECT_EQ(paintedBeforeTheWait, std::vector<bool>{true});
    EXPECT_FALSE(window->led->Active());
    QCoreApplication::processEvents();
    ASSERT_FALSE(paints.states.empty());
    EXPECT_FALSE(paints.states.back());
}

TEST_F(MainWindow, ChoosingTheRateInUseAgainIsNoChange) {
    talkTo(ScriptedTerminal{});
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    port->sent.clear();
    emit window->BR->activated(window->BR->currentIndex()); // the user picks 9600 again
    EXPECT_TRUE(port->sent.empty());
    EXPECT_TRUE(window->connection().found());

    window->BR->setCurrentIndex(9);
    emit window->BR->activated(9);
    EXPECT_EQ(window->nrComm1->BaudRate(), 115200u);
    EXPECT_EQ(window->Timer1->interval(), 352);
    ASSERT_FALSE(port->sent.empty());
    EXPECT_EQ(port->sent.front(), "$01M");
}

TEST_F(MainWindow, TheMailLinkFitsItsDesignedSize) {
    TVrWebLabel* mail = window->About->VrWebLabel2;
    EXPECT_EQ(mail->geometry(), QRect(16, 128, 113, 25));
    const QFont font = mail->FontLeave();
    if (!QFontInfo(font).family().contains(QStringLiteral("Liberation")) &&
        !QFontInfo(font).family().contains(QStringLiteral("Arial")))
        GTEST_SKIP() << "no Arial-compatible face here: " << QFontInfo(font).family().toStdString();
    for (TVrWebLabel* link :
         {window->About->VrWebLabel1, window->About->VrWebLabel2, window->About->VrWebLabel3})
        EXPECT_LE(QFontMetrics(link->FontLeave()).horizontalAdvance(link->Caption()), link->width())
            << link->Caption().toStdString();
}

TEST_F(MainWindow, OpeningThePortSetsTheChosenRate) {
    window->BR->setCurrentIndex(7); // shown, not yet applied to the port
    window->nrComm1->SetComPortNo(250);
    QTest::mouseClick(window->BOP, Qt::LeftButton); // does not open, but the rate was set first
    EXPECT_EQ(window->nrComm1->BaudRate(), 38400u);
}
