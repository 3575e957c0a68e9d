// The DIO page against the built-in simulated terminal over a real pseudo-terminal: what the page
// shows of the terminal's lines, and what the terminal does when the page drives and saves them.
#include "DioLineWidgets.h"
#include "SimulatedLineFixture.h"

#include "app/DioPage.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"

#include "protocol/Conversions.h"

#include "sim/SimConsole.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrSwitch.h"
#include "widgets/TVrUserLed.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

class DioOnSimulator : public SimulatedLine {
protected:
    void SetUp() override {
        SimulatedLine::SetUp();
        openSimulator();
    }

    // Something else configured the terminal before the window looks at it.
    void terminalTakes(const std::string& frame) {
        ASSERT_TRUE(sim()->model().receiveFrame(frame).reply.has_value()) << frame;
    }

    // Identifies the terminal at address 1 and enters the DIO page, as a user does.
    void showDio() {
        identifyAt(1);
        window->Page->setCurrentWidget(window->DIO);
        ASSERT_TRUE(window->connection().found());
        received();
    }

    std::string leds(const char* bank = "DIO") const { return dio_lines::bank(*window, bank); }
    TVrUserLed* led(int line) const { return dio_lines::led(*window, line); }
    TVrSwitch* directionSwitch(int line) const { return dio_lines::directionSwitch(*window, line); }
    QString directionLabel(int line) const { return dio_lines::directionLabel(*window, line); }
    tkm::sim::TerminalState terminal() { return sim()->model().state(); }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    using Frames = std::vector<std::string>;
};

} // namespace

TEST_F(DioOnSimulator, CachedDirectionsF0ShowLinesZeroToThreeAsInputs) {
    terminalTakes("$01DF0");
    showDio();
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const bool input = k < 4;
        EXPECT_EQ(directionLabel(k), input ? QStringLiteral("IN") : QStringLiteral("OUT"));
        EXPECT_EQ(directionSwitch(k)->Offset(), input ? 0 : 1);
    }
    // The inputs are the four rightmost columns, under the captions 7 to 4.
    for (int k = 0; k < 4; ++k) {
        const auto* caption = window->findChild<QLabel*>(QStringLiteral("LabelBit%1").arg(7 - k));
        EXPECT_EQ(caption->text(), QString::number(7 - k));
        EXPECT_EQ(caption->x(), directionSwitch(k)->x());
        EXPECT_GT(directionSwitch(k)->x(), directionSwitch(4)->x());
    }
    EXPECT_EQ(window->DIO->DirectionsFromSwitches(), 0xF0);
    EXPECT_FALSE(window->DIO->Button8->isEnabled());
}

TEST_F(DioOnSimulator, AReadOf01LightsOnlyTheLeftmostLed) {
    terminalTakes("$01D01"); // line 7 an input
    showDio();
    sim()->model().setInputLine(7, true);
    window->Timer1Timer();
    EXPECT_EQ(received(), Frames{"@01"});
    EXPECT_EQ(leds(), "01");
    EXPECT_EQ(window->connection().device().lineState, "01");
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(led(k)->Active(), k == 7) << k;
    const auto* caption0 = window->findChild<QLabel*>(QStringLiteral("LabelBit0"));
    EXPECT_EQ(led(7)->x(), caption0->x());
    for (int k = 0; k < 7; ++k)
        EXPECT_GT(led(k)->x(), led(7)->x());
}

TEST_F(DioOnSimulator, AClickOnAnOutputDrivesTheTerminalsLineOnTheNextPoll) {
    showDio();
    ASSERT_EQ(directionLabel(7), QStringLiteral("OUT"));
    ASSERT_EQ(window->connection().device().lineState, "00");
    click(led(7));
    EXPECT_TRUE(received().empty());

    window->Timer1Timer();
    EXPECT_EQ(received(), Frames{"@0101"});
    EXPECT_EQ(terminal().outputs, 0x01);
    EXPECT_EQ(terminal().lines, 0x01);

    window->Timer1Timer();
    EXPECT_EQ(received(), Frames{"@01"});
    EXPECT_EQ(leds(), "01");
    EXPECT_TRUE(window->connection().found());
}

TEST_F(DioOnSimulator, AClickOnAnInputDoesNothing) {
    terminalTakes("$01DF0");
    showDio();
    ASSERT_EQ(directionLabel(0), QStringLiteral("IN"));
    click(led(0));
    EXPECT_FALSE(led(0)->Active());
    window->Timer1Timer();
    EXPECT_EQ(received(), Frames{"@01"});
    EXPECT_EQ(terminal().outputs, 0x00);
    EXPECT_EQ(leds(), "00");
}

TEST_F(DioOnSimulator, SaveSendsTheSwitchesAndTheNextIdentificationShowsThemBack) {
    showDio();
    ASSERT_EQ(directionLabel(0), QStringLiteral("OUT"));
    directionSwitch(0)->SetOffset(0);
    directionSwitch(6)->SetOffset(0);
    ASSERT_TRUE(window->DIO->Button8->isEnabled());
    click(window->DIO->Button8);
    EXPECT_EQ(received(), Frames{"$01D82"}); // lines 0 and 6: 0x80 + 0x02
    EXPECT_EQ(terminal().direction, 0x82);
    EXPECT_FALSE(window->DIO->Button8->isEnabled());
    EXPECT_FALSE(window->connection().found());

    // The switches show what the terminal reports, not what they were set to: another program
    // changes line 1 before the window looks again.
    terminalTakes("$01DC2");
    window->Timer1Timer();
    ASSERT_TRUE(window->connection().found());
    EXPECT_EQ(received().front(), "$01M");
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(directionLabel(k),
                  k == 0 || k == 1 || k == 6 ? QStringLiteral("IN") : QStringLiteral("OUT"))
            << k;
    EXPECT_EQ(window->connection().device().direction, "C2");
}

TEST_F(DioOnSimulator, SavePonAndSaveSafeStoreTheDrivenOutputs) {
    showDio();
    click(led(6));
    click(led(7));
    window->Timer1Timer();
    ASSERT_EQ(received(), Frames{"@0103"});

    click(window->DIO->Button9);
    EXPECT_EQ(received(), Frames{"~015P"});
    EXPECT_FALSE(window->connection().found());
    EXPECT_EQ(terminal().powerOnValue, 0x03);
    window->Timer1Timer(); // identifies, then polls
    EXPECT_TRUE(window->connection().found());
    EXPECT_EQ(leds("PON"), "03");
    EXPECT_EQ(leds("SAFE"), "00");

    click(led(6));
    window->Timer1Timer();
    ASSERT_EQ(received().back(), "@0101");
    click(window->DIO->Button10);
    EXPECT_EQ(received(), Frames{"~015S"});
    window->Timer1Timer();
    EXPECT_EQ(leds("PON"), "03");
    EXPECT_EQ(leds("SAFE"), "01");
}

// The poll timer running as a user has it, while someone changes the terminal's input levels.
TEST_F(DioOnSimulator, WithThePollTimerRunningTheLedsFollowTheTerminalsInputs) {
    terminalTakes("$01DFF"); // every line an input
    showDio();
    auto ledsBecome = [this](const std::string& expected) {
        QElapsedTimer cap; // only keeps a broken build from hanging
        cap.start();
        while (leds() != expected && cap.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return leds() == expected;
    };
    tkm::sim::SimConsole console(*sim(), {});
    window->Timer1->start();

    sim()->model().setInputs(0x5A);
    EXPECT_TRUE(ledsBecome("5A"));
    ASSERT_TRUE(console.execute("in A5").output.empty());
    EXPECT_TRUE(ledsBecome("A5"));
    ASSERT_TRUE(console.execute("in 7 0").output.empty()); // line 7 low: bit 0
    EXPECT_TRUE(ledsBecome("A4"));

    window->Timer1->stop();
    EXPECT_TRUE(window->connection().found());
    EXPECT_TRUE(exceptions.isEmpty()) << exceptions.join(QLatin1Char('\n')).toStdString();
    for (const std::string& frame : received())
        EXPECT_EQ(frame, "@01") << "the inputs are only read";
}
