// User input that arrives while an exchange waits for its reply runs after the exchange, not inside it.
#include "ScriptedPort.h"
#include "ScriptedTerminal.h"
#include "WindowFixture.h"
#include "WindowSystemInput.h"

#include "protocol/Commands.h"

#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class UserInput : public WindowFixture {
protected:
    void SetUp() override {
#if defined(__SANITIZE_THREAD__)
        // A shown window paints with Qt's own raster threads, whose locking ThreadSanitizer cannot
        // see in the uninstrumented Qt libraries; the plain and AddressSanitizer runs cover these.
        GTEST_SKIP() << "needs a shown window, which ThreadSanitizer cannot follow into Qt";
#endif
        WindowFixture::SetUp();
        // Laid out as shown, with a native window for the queued events, but never on a screen: no
        // painting, whose raster threads ThreadSanitizer cannot follow into Qt.
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
        window->winId();
        port = std::make_unique<ScriptedPort>(ScriptedTerminal{});
        window->setTransactPort(port.get());
        window->setSleep([this](int) {
            if (duringWait)
                std::exchange(duringWait, nullptr)();
        });
    }

    void handleQueuedInput() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    std::unique_ptr<ScriptedPort> port;
    std::function<void()> duringWait; // runs once, inside the next exchange's reply wait
};

TEST_F(UserInput, AClickOnPlusWhileIdentificationWaitsMovesTheAddressAfterIt) {
    duringWait = [this] { queueClick(window->AdrInc); };
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

    QTabBar* tabs = window->Page->tabBar();
    duringWait = [&] { queueClick(tabs, tabs->tabRect(window->Page->indexOf(window->Display)).center()); };
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

} // namespace
