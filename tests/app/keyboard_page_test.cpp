// The Keyboard page: keys pressed on the simulated terminal light their panels, are echoed on its
// display and fade; Fix holds them.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "SimulatedLineFixture.h"

#include "app/KeyboardPage.h"

#include "widgets/TVrPowerButton.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Frames = std::vector<std::string>;

const QColor kLime(0, 255, 0);

class KeyboardPageOnTheLine : public SimulatedLine {
protected:
    void SetUp() override {
        SimulatedLine::SetUp();
        page = window->Keyboard;
        face = window->palette().color(QPalette::Button);
    }

    void onTheKeyboardPage() {
        openSimulator();
        identifyAt(1);
        window->Page->setCurrentWidget(page);
        received();
    }

    QColor colour(int key) const { return page->keyPanel(key)->palette().color(QPalette::Window); }

    KeyboardPage* page = nullptr;
    QColor face;
};

TEST_F(KeyboardPageOnTheLine, PressedKeysLightTheirPanelsAndAreEchoed) {
    onTheKeyboardPage();
    sim()->model().pressKey(10);
    sim()->model().pressKey(30);
    window->Timer1Timer();
    EXPECT_EQ(received(), (Frames{"$01K", "$01T100Key 10 ", "$01T100Key 30 "}));
    EXPECT_EQ(colour(10), kLime);
    EXPECT_EQ(colour(30), kLime);
    EXPECT_EQ(page->keyPanel(10)->text(), QStringLiteral("F10"));
    EXPECT_EQ(page->keyPanel(30)->text(), QStringLiteral("Enter"));
    EXPECT_EQ(page->highlight(10), 3);
    EXPECT_EQ(sim()->model().state().rows[1].substr(0, 7), "Key 30 ");
    EXPECT_TRUE(window->connection().found());

    // No keys: the poll succeeds and nothing changes.
    window->Timer1Timer();
    EXPECT_EQ(received(), Frames{"$01K"});
    EXPECT_TRUE(window->connection().found());
}

TEST_F(KeyboardPageOnTheLine, APanelFadesOnTheFourthTickAndTheTickThenRests) {
    onTheKeyboardPage();
    sim()->model().pressKey(12);
    window->Timer1Timer();
    EXPECT_TRUE(window->Keyboard->Timer3->isActive());
    for (int tick = 1; tick <= 3; ++tick) {
        window->Keyboard->Timer3Timer();
        EXPECT_EQ(colour(12), kLime) << tick;
    }
    window->Keyboard->Timer3Timer();
    EXPECT_EQ(colour(12), face);
    EXPECT_FALSE(window->Keyboard->Timer3->isActive());
}

TEST_F(KeyboardPageOnTheLine, FixHoldsTheHighlightsAndEnablesClear) {
    onTheKeyboardPage();
    EXPECT_FALSE(page->ClearKey->isEnabled());
    QTest::mouseClick(page->ClearKey, Qt::LeftButton); // disabled: nothing happens
    QTest::mouseClick(page->Fix, Qt::LeftButton);
    EXPECT_TRUE(page->Fix->Active());
    EXPECT_TRUE(page->ClearKey->isEnabled());

    for (int key : {1, 2, 3}) {
        sim()->model().pressKey(key);
        window->Timer1Timer();
        for (int tick = 0; tick < 6; ++tick)
            window->Keyboard->Timer3Timer();
    }
    for (int key : {1, 2, 3})
        EXPECT_EQ(colour(key), kLime) << key;

    QTest::mouseClick(page->ClearKey, Qt::LeftButton);
    for (int key : {1, 2, 3}) {
        EXPECT_EQ(colour(key), face) << key;
        EXPECT_EQ(page->highlight(key), 0);
    }
    QTest::mouseClick(page->Fix, Qt::LeftButton);
    EXPECT_FALSE(page->ClearKey->isEnabled());
}

TEST_F(KeyboardPageOnTheLine, ThePollTimerLightsAndFadesPressedKeys) {
    onTheKeyboardPage();
    window->BR->setCurrentIndex(5);
    window->Timer1->start();
    window->Keyboard->Timer3->start();
    sim()->model().pressKey(20);
    QElapsedTimer cap;
    cap.start();
    while (colour(20) != kLime && cap.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(colour(20), kLime);
    while (colour(20) == kLime && cap.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(colour(20), face);
    EXPECT_TRUE(window->connection().found());
    const Frames frames = received();
    EXPECT_NE(std::find(frames.begin(), frames.end(), "$01T100Key 20 "), frames.end());
}

// Replies the simulator does not give.
class KeyboardPoll : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window->setTransactPort(&port);
        window->setSleep([](int) {});
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
        window->Page->setCurrentWidget(window->Keyboard);
        port.sent.clear();
    }

    void keysAnswer(const std::string& payload) {
        ScriptedTerminal terminal;
        port.setScript([terminal, payload](const std::string& frame) {
            return frame == "$01K" ? "!01" + payload + "\r" : terminal(frame);
        });
    }

    ScriptedPort port{ScriptedTerminal{}};
};

TEST_F(KeyboardPoll, KeysOutsideTheKeypadAndTrailingDataAreIgnored) {
    keysAnswer("3000C1FXY");
    window->Timer1Timer();
    EXPECT_EQ(port.sent, (Frames{"$01K", "$01T100Key 12 "}));
    EXPECT_TRUE(window->connection().found());
}

TEST_F(KeyboardPoll, AMalformedKeyListFailsThePoll) {
    for (const char* payload : {"X", "", "201", "1G1"}) {
        SCOPED_TRACE(payload);
        window->Adr->SetPosition(0);
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
        keysAnswer(payload);
        window->Timer1Timer();
        EXPECT_FALSE(window->connection().found());
        EXPECT_TRUE(exceptions.isEmpty());
        port.setScript(ScriptedTerminal{});
    }
}

TEST_F(KeyboardPoll, NoPollWithoutTheTerminal) {
    port.setScript([](const std::string&) { return std::string(); });
    window->connection().lose();
    port.sent.clear();
    EXPECT_FALSE(window->Keyboard->Poll());
    EXPECT_TRUE(port.sent.empty());
}

} // namespace
