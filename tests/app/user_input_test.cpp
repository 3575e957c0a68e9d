// User input that arrives while an exchange waits for its reply runs after the exchange, not inside it;
// a handler that runs several exchanges in a row lets it run before its next one.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "SimulatedLineFixture.h"
#include "WindowFixture.h"
#include "WindowSystemInput.h"

#include "app/SettingPage.h"
#include "app/UserSymbolsPage.h"
#include "protocol/Commands.h"

#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// Laid out as shown, with a native window for the queued events, but never on a screen. A shown window
// still paints with Qt's own raster threads, whose locking ThreadSanitizer cannot see in the
// uninstrumented Qt libraries: there the test is skipped, and the plain and AddressSanitizer runs cover it.
void showForQueuedInput(QWidget* window) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "needs a shown window, which ThreadSanitizer cannot follow into Qt";
#endif
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    window->winId();
}

// What a test does inside the reply waits: each action once, in the first wait for which its `when`
// holds (empty: the next wait).
struct DuringWaits {
    struct Action {
        std::function<void()> run;
        std::function<bool()> when;
    };
    std::vector<Action> pending;

    void operator()() {
        for (Action& action : pending) {
            if (action.run && (!action.when || action.when()))
                std::exchange(action.run, nullptr)();
        }
    }
};

void handleQueuedInput() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void queueTabClick(QTabWidget* pages, QWidget* page) {
    QTabBar* tabs = pages->tabBar();
    queueClick(tabs, tabs->tabRect(pages->indexOf(page)).center());
}

class UserInput : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        showForQueuedInput(window.get());
        if (IsSkipped())
            return;
        port = std::make_unique<ScriptedPort>(ScriptedTerminal{});
        window->setTransactPort(port.get());
        window->setSleep([this](int) { duringWait(); });
        // The exchanges start the poll timer again; no tick of its own comes between a test's steps.
        window->Timer1->setInterval(std::numeric_limits<int>::max());
    }

    // Whether the exchange under way sent a frame beginning with `start`.
    std::function<bool()> sending(const std::string& start) {
        return [this, start] { return !port->sent.empty() && port->sent.back().rfind(start, 0) == 0; };
    }

    std::unique_ptr<ScriptedPort> port;
    DuringWaits duringWait;
};

TEST_F(UserInput, AClickOnPlusWhileIdentificationWaitsMovesTheAddressAfterIt) {
    duringWait.pending = {{[this] { queueClick(window->AdrInc); }, {}}};
    window->Adr->SetPosition(1);
    // The whole identification talked to address 1 and found the terminal there.
    const std::vector<std::string> atOne = {"$01M", "$01F", "$01D", "~014P", "~014S",
                                            "@01",  "$01T", "$012", "~012"};
    EXPECT_EQ(port->sent, atOne);
    EXPECT_TRUE(window->connection().found());
    EXPECT_EQ(window->Adr->Position(), 1);

    port->sent.clear();
    handleQueuedInput();
    // Then the click: address 2, where nobody answers.
    EXPECT_EQ(window->Adr->Position(), 2);
    ASSERT_FALSE(port->sent.empty());
    EXPECT_EQ(port->sent.front(), "$02M");
    EXPECT_FALSE(window->connection().found());
    EXPECT_EQ(window->connection().address(), 2);
    EXPECT_EQ(window->connection().device().deviceName, "");
}

TEST_F(UserInput, APageTabClickedDuringAnExchangeIsEnteredAfterIt) {
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    window->Page->setCurrentWidget(window->WDTimer);
    ASSERT_TRUE(window->WDTimer->WDTEN->Active());
    port->sent.clear();

    duringWait.pending = {{[this] { queueTabClick(window->Page, window->Display); }, {}}};
    // A poll's two exchanges: the click arrives during the first and is held through the second's
    // message pump.
    window->connection().Transact(tkm::protocol::HostAlive());
    window->connection().Transact(tkm::protocol::ReadModuleStatus(1));
    EXPECT_EQ(window->Page->currentWidget(), window->WDTimer);
    handleQueuedInput();

    EXPECT_EQ(window->Page->currentWidget(), window->Display);
    // Leaving the WDT page switched the terminal's watchdog off.
    const std::vector<std::string> expected = {"~**", "~010", "$01T", "~013028"};
    EXPECT_EQ(port->sent, expected);
    EXPECT_FALSE(window->WDTimer->WDTEN->Active());
    EXPECT_TRUE(window->connection().found());
}

TEST_F(UserInput, InputOutsideExchangesIsHandledAtOnce) {
    queueClick(window->AdrInc);
    handleQueuedInput();
    EXPECT_EQ(window->Adr->Position(), 1);
}

TEST_F(UserInput, ClicksDuringSaveAllSymbolRunAfterTheSymbolInProgress) {
    window->Adr->SetPosition(1);
    window->Page->setCurrentWidget(window->UserSymbols);
    ASSERT_TRUE(window->connection().found());
    port->sent.clear();
    // Pressed again during symbol 1 it adds nothing; the Display tab during symbol 2 is entered before
    // symbol 3; a port closed during symbol 4 ends the save without a box.
    duringWait.pending = {{[this] { queueClick(window->UserSymbols->SaveAllSym); }, sending("$01G1")},
                          {[this] { queueTabClick(window->Page, window->Display); }, sending("$01G2")},
                          {[this] { port->active = false; }, sending("$01G4")}};
    window->UserSymbols->SaveAllSym->click();

    const std::string empty(16, '0');
    const std::vector<std::string> expected = {"$01G0" + empty, "$01G1" + empty, "$01G2" + empty, "$01T",
                                               "~013028",       "$01G3" + empty, "$01G4" + empty};
    EXPECT_EQ(port->sent, expected);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(UserInput, AnAddressChosenDuringTheInitProcedureEndsItWithNothingSent) {
    ScriptedTerminal atFive;
    atFive.address = 5;
    port->setScript(atFive);
    window->Adr->SetPosition(5);
    ASSERT_TRUE(window->connection().found());
    window->Setting->BRNew->setCurrentIndex(6); // another rate: the terminal must be in init mode
    port->sent.clear();
    duringWait.pending = {{[this] { queueClick(window->AdrInc); }, sending("$00M")}};
    window->Setting->SaveSettignClick();
    EXPECT_EQ(port->sent, (std::vector<std::string>{"$00M", "$01M"}));
    EXPECT_EQ(messages, QStringList{SettingPage::kPowerCycleText});
}

TEST_F(UserInput, ClicksWhileTheConfigurationIsWrittenSaveNothingMoreAndKeepTheUsersAddress) {
    ScriptedTerminal atFive;
    atFive.address = 5;
    port->setScript([atFive](const std::string& frame) {
        return frame.front() == '%' ? std::string("!09\r") : atFive(frame);
    });
    window->Adr->SetPosition(5);
    window->Page->setCurrentWidget(window->Setting);
    window->Setting->AdrNew->SetPosition(9);
    port->sent.clear();
    duringWait.pending = {{[this] {
                               queueClick(window->Setting->SaveSettign);
                               queueClick(window->AdrInc);
                           },
                           sending("%")}};
    window->Setting->SaveSettignClick();
    // Written once, then the user's move to 6: the window does not follow the terminal to 9.
    EXPECT_EQ(port->sent, (std::vector<std::string>{"%05090Z060100", "$06M"}));
    EXPECT_EQ(window->Adr->Position(), 6);
    EXPECT_TRUE(messages.isEmpty());
}

// The scan against the simulated terminal, with clicks queued while a step waits for its reply.
class UserInputOnTheLine : public SimulatedLine {
protected:
    void SetUp() override {
        SimulatedLine::SetUp();
        showForQueuedInput(window.get());
    }

    void openWithTheTerminalAt(int address) {
        tkm::sim::TerminalSettings settings;
        settings.address = address;
        openSimulator(settings);
        SimReplyWait reply(sim()->trace(),
                           [this] { return static_cast<std::size_t>(window->nrComm1->GetReadyForRead()); });
        window->setSleep([this, reply](int milliseconds) mutable {
            reply(milliseconds);
            duringWait();
        });
    }

    std::function<bool()> scanningAt(int address) {
        return [this, address] { return window->connection().address() == address; };
    }

    DuringWaits duringWait;
};

TEST_F(UserInputOnTheLine, ScanSwitchedOffDuringAStepStopsAfterItAndStaysOff) {
    openWithTheTerminalAt(0x40);
    duringWait.pending = {{[this] { queueClick(window->Scan); }, scanningAt(3)}};
    window->Scan->SetActive(true);
    window->PollTick();
    window->PollTick();
    // Back at 0 when nothing was found, where the scan and then each tick identify.
    const std::vector<std::string> expected = {"$01M", "$02M", "$03M", "$00M", "$00M", "$00M"};
    EXPECT_EQ(received(), expected);
    EXPECT_FALSE(window->Scan->Active());
}

TEST_F(UserInputOnTheLine, PlusDuringAScanMovesTheAddressAndTheScanGoesOnFromThere) {
    openWithTheTerminalAt(6);
    duringWait.pending = {{[this] { queueClick(window->AdrInc); }, scanningAt(3)}};
    window->Scan->SetActive(true);
    window->PollTick();
    handleQueuedInput(); // nothing left: the click ran during the scan
    const std::vector<std::string> expected = {"$01M", "$02M",  "$03M",  "$04M", "$05M", "$06M", "$06F",
                                               "$06D", "~064P", "~064S", "@06",  "$06T", "$062", "~062"};
    EXPECT_EQ(received(), expected);
    EXPECT_EQ(window->Adr->Position(), 6);
    EXPECT_TRUE(window->connection().found());
    EXPECT_FALSE(window->Scan->Active());
}

TEST_F(UserInputOnTheLine, ClosingTheWindowDuringAScanEndsItWithoutAnotherExchange) {
    openWithTheTerminalAt(0x40);
    duringWait.pending = {{[this] { queueClose(window.get()); }, scanningAt(2)}};
    window->Scan->SetActive(true);
    window->AddressScan();
    EXPECT_EQ(received(), (std::vector<std::string>{"$01M", "$02M"}));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Scan->Active());
}

} // namespace
