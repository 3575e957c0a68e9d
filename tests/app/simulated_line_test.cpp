// The main window against the built-in simulated terminal: nrComm1 opens the simulator's
// pseudo-terminal, and the tests assert the bytes on the line from the simulator's trace.
//
// The transaction's reply wait is replaced by SimReplyWait, which waits for the simulator to take
// each frame and write its reply (capped) instead of sleeping the fixed time, so the suite is fast
// and does not depend on the machine's load.
#include "SimulatedLineFixture.h"

#include "app/AppDialogs.h"
#include "app/KeyboardPage.h"
#include "app/SimulatedTerminalPort.h"
#include "app/StatusBarPanels.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/TrafficMemo.h"
#include "app/WdtPage.h"

#include "protocol/Frame.h"
#include "protocol/Transact.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The one test with the transaction's own fixed wait. At 2400 baud it is 148 ms per exchange, a wide
// margin for a simulator that answers within a millisecond, even on a loaded machine.
TEST_F(SimulatedLine, PickingTheSimulatorFindsATerminalAtAddressOneWithTheRealWait) {
    tkm::sim::TerminalSettings settings;
    settings.baudCode = 4; // 2400
    window->simulatedPort()->setSettings(settings);
    const int entry = window->nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName));
    ASSERT_GE(entry, 0);
    window->nrDeviceBox1->Change(entry);
    window->BR->setCurrentIndex(3);
    window->BRChange();
    QTest::mouseClick(window->BOP, Qt::LeftButton);
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Close port"));
    QTest::mouseClick(window->AdrInc, Qt::LeftButton);
    EXPECT_TRUE(window->connection().found());
    EXPECT_EQ(window->StBar->panelText(1), QStringLiteral("TKM-9214"));
    QTest::mouseClick(window->BOP, Qt::LeftButton);
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Open port"));
    EXPECT_FALSE(window->nrComm1->GetActive());
    window->Timer1Timer();
    EXPECT_FALSE(window->connection().found());
}

TEST_F(SimulatedLine, IdentificationOrderAndStatusBar) {
    openSimulator();
    window->Adr->SetPosition(1);
    EXPECT_TRUE(window->connection().found())
        << sim()->trace().formatAll() << window->RCVS->toPlainText().toStdString();
    const std::vector<std::string> expected = {"$01M", "$01F", "$01D", "~014P", "~014S",
                                               "@01",  "$01T", "$012", "~012"};
    EXPECT_EQ(received(), expected);
    EXPECT_EQ(window->StBar->panelText(1), QStringLiteral("TKM-9214"));
    EXPECT_EQ(window->StBar->panelText(3), QStringLiteral("1.02"));
    EXPECT_EQ(window->StBar->panelText(5), QStringLiteral("WIN-1251"));
    EXPECT_EQ(window->StBar->panelText(7), QStringLiteral("OFF"));
}

// A two-wire RS-485 line hands each frame back before the reply: the window identifies the terminal
// and polls a page as on any line, logs the replies as the terminal sent them and says once per open
// that the line echoes.
TEST_F(SimulatedLine, AnEchoingLineIdentifiesPollsAPageAndSaysOnceThatItEchoes) {
    window->simulatedPort()->setLine(true, std::chrono::milliseconds(0));
    openSimulator();
    identifyAt(1);
    window->Page->setCurrentWidget(window->Keyboard);
    received();
    sim()->model().pressKey(10);
    window->Timer1Timer();
    EXPECT_EQ(received(), (std::vector<std::string>{"$01K", "$01T100Key 10 "}));
    EXPECT_EQ(window->Keyboard->highlight(10), 3);
    EXPECT_TRUE(window->connection().found());

    QCoreApplication::processEvents();
    const QString log = window->RCVS->toPlainText();
    const QString note = QString::fromLatin1(tkm::protocol::kLineEchoNote);
    EXPECT_TRUE(log.startsWith(note + QStringLiteral("\n2\t$01M --> !01TKM-9214\n"))) << log.toStdString();
    EXPECT_EQ(log.count(note), 1);

    QTest::mouseClick(window->BOP, Qt::LeftButton); // closed and opened again: said again
    QTest::mouseClick(window->BOP, Qt::LeftButton);
    window->connection().lose();
    window->Timer1Timer();
    EXPECT_TRUE(window->connection().found());
    QCoreApplication::processEvents();
    EXPECT_EQ(window->RCVS->toPlainText().count(note), 2);
}

TEST_F(SimulatedLine, MinusAtAddressZeroSendsNothing) {
    openSimulator();
    QTest::mouseClick(window->AdrDec, Qt::LeftButton);
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_TRUE(received().empty());
}

TEST_F(SimulatedLine, ScanWithNoTerminalTriesEveryAddressOnceAndReturnsToZero) {
    openSimulator({}, 9);
    sim()->model().powerOff();
    window->Scan->SetActive(true);
    window->Timer1Timer();
    std::vector<std::string> expected;
    for (int a = 1; a <= 255; ++a)
        expected.push_back("$" + tkm::protocol::AddressText(a) + "M");
    expected.push_back("$00M"); // back at 0, identified there by the scan
    expected.push_back("$00M"); // and by the tick, whose flag is still clear
    EXPECT_EQ(received(), expected);
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_FALSE(window->Scan->Active());
    EXPECT_FALSE(window->connection().found());
}

TEST_F(SimulatedLine, ScanFindsTheTerminalAt0x37) {
    tkm::sim::TerminalSettings settings;
    settings.address = 0x37;
    openSimulator(settings);
    window->Scan->SetActive(true);
    window->Timer1Timer();
    EXPECT_EQ(window->Adr->Position(), 0x37);
    EXPECT_TRUE(window->connection().found());
    EXPECT_FALSE(window->Scan->Active());
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("ADDRESS=0x37 / 55  "));
}

TEST_F(SimulatedLine, ChecksumToggleIdentifiesAgainAndFailsOnAFormatMismatch) {
    openSimulator();
    identifyAt(1);
    QTest::mouseClick(window->CSE, Qt::LeftButton);
    EXPECT_TRUE(window->CSE->Active());
    EXPECT_FALSE(window->connection().found());
    EXPECT_TRUE(received().empty());
    window->Timer1Timer();
    EXPECT_FALSE(window->connection().found());
    const std::vector<std::string> frames = received();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), "$01MD2"); // with its checksum now
    EXPECT_EQ(window->StBar->panelText(1), QString());
    EXPECT_EQ(window->StBar->panelText(7), QString());

    // Switching back finds the terminal again on the next tick.
    QTest::mouseClick(window->CSE, Qt::LeftButton);
    window->Timer1Timer();
    EXPECT_TRUE(window->connection().found());
}

TEST_F(SimulatedLine, ChecksumModeMatchingTheTerminalIdentifies) {
    tkm::sim::TerminalSettings settings;
    settings.checksum = true;
    openSimulator(settings);
    QTest::mouseClick(window->CSE, Qt::LeftButton);
    window->Adr->SetPosition(1);
    EXPECT_TRUE(window->connection().found());
    EXPECT_EQ(window->StBar->panelText(7), QStringLiteral("ON"));
}

TEST_F(SimulatedLine, PageChangesWithTheFlagClearSendNothing) {
    openSimulator();
    window->WDTimer->WDTEN->SetActive(true);
    for (int i = 1; i < window->Page->count(); ++i)
        window->Page->setCurrentIndex(i);
    window->Page->setCurrentIndex(0);
    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(window->WDTimer->WDTEN->Active());
}

TEST_F(SimulatedLine, FromWdtToDisplaySendsTheClearAndOneWatchdogOff) {
    openSimulator();
    identifyAt(1);
    window->Page->setCurrentWidget(window->WDTimer);
    const std::vector<std::string> entering = {"$01T", "~012", "$01T000WDT TEST", "$01T100"};
    EXPECT_EQ(received(), entering);
    window->WDTimer->WDTEN->SetActive(true);
    window->Page->setCurrentWidget(window->Display);
    const std::vector<std::string> leaving = {"$01T", "~01301E"};
    EXPECT_EQ(received(), leaving);
    EXPECT_FALSE(window->WDTimer->WDTEN->Active());
    EXPECT_TRUE(window->connection().found());
    EXPECT_FALSE(sim()->model().state().watchdogEnabled);
}

class SimulatedLineCodePage : public SimulatedLine, public ::testing::WithParamInterface<int> {};

TEST_P(SimulatedLineCodePage, UserSymbolsEntrySendsTheCodePagesSymbolCodes) {
    const int codePage = GetParam();
    tkm::sim::TerminalSettings settings;
    settings.codePage = codePage;
    openSimulator(settings);
    identifyAt(1);
    window->Page->setCurrentWidget(window->UserSymbols);
    const unsigned char first = codePage == 2 ? 0xB8 : 0xB0;
    std::string symbols;
    for (int i = 0; i < 8; ++i)
        symbols += std::string(1, static_cast<char>(first + i)) + " ";
    const std::vector<std::string> expected = {"$01T",
                                               "~01301E",
                                               "$01T1000 1 2 3 4 5 6 7",
                                               "$01T200",
                                               "$01O" + symbols + " ",
                                               "$01T000USER SYMBOLS"};
    EXPECT_EQ(received(), expected);
}

INSTANTIATE_TEST_SUITE_P(CodePages, SimulatedLineCodePage, ::testing::Values(0, 1, 2));

TEST_F(SimulatedLine, ThreeHundredBaudPollsEvery1374Milliseconds) {
    openSimulator({}, 0);
    EXPECT_EQ(window->Timer1->interval(), 1374);
}
