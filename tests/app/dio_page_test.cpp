// The DIO page against a scripted terminal: the poll's read and write, LED clicks, direction switches
// and the three save buttons, with exact control over every reply.
#include "DioLineWidgets.h"
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "WindowFixture.h"

#include "app/DioPage.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"

#include "protocol/Conversions.h"

#include "widgets/TVrSwitch.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// The window found the terminal at address 1 (lines "A5", directions "F0": lines 4..7 are outputs) and
// shows the DIO page. `terminal` answers; `readReply`, when set, replaces its whole reply to "@01".
class DioPageScripted : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window->setSleep([this](int milliseconds) { waits.push_back(milliseconds); });
        port = std::make_unique<ScriptedPort>([this](const std::string& frame) {
            if (frame == "@01" && readReply)
                return *readReply;
            return terminal(frame);
        });
        window->setTransactPort(port.get());
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
        window->Page->setCurrentWidget(window->DIO);
        ASSERT_TRUE(window->connection().found());
        ASSERT_EQ(leds(), "A5");
        port->sent.clear();
        waits.clear();
    }

    DioPage& dio() const { return *window->DIO; }
    std::string leds() const { return dio_lines::bank(*window); }
    TVrUserLed* led(int line) const { return dio_lines::led(*window, line); }
    TVrSwitch* directionSwitch(int line) const { return dio_lines::directionSwitch(*window, line); }
    QString directionLabel(int line) const { return dio_lines::directionLabel(*window, line); }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    const std::string& lineState() const { return window->connection().device().lineState; }

    ScriptedTerminal terminal;
    std::optional<std::string> readReply;
    std::unique_ptr<ScriptedPort> port;
    std::vector<int> waits; // the reply wait of every exchange, in milliseconds
};

} // namespace

TEST_F(DioPageScripted, ThePollReadsTheLinesOntoTheLeds) {
    terminal.lines = "3C";
    window->Timer1Timer();
    EXPECT_EQ(port->sent, std::vector<std::string>{"@01"});
    EXPECT_EQ(leds(), "3C");
    EXPECT_EQ(lineState(), "3C");
    EXPECT_TRUE(window->connection().found());

    // A terminal that answers in lower case is read, not written, on the next poll too.
    terminal.lines = "c3";
    window->Timer1Timer();
    EXPECT_EQ(leds(), "C3");
    EXPECT_EQ(lineState(), "C3");
    window->Timer1Timer();
    EXPECT_EQ(port->sent, (std::vector<std::string>{"@01", "@01", "@01"}));
}

TEST_F(DioPageScripted, AReadThatIsNotTwoHexDigitsIsAFailedPoll) {
    const char* const replies[] = {">1\r", ">123\r", ">G1\r", ">\r", ">error\r", "?01\r", "!01A5\r", ""};
    for (const char* reply : replies) {
        SCOPED_TRACE(testing::PrintToString(reply));
        readReply.reset();
        ASSERT_TRUE(window->connection().identify());
        ASSERT_EQ(leds(), "A5");
        readReply = reply;
        port->sent.clear();

        EXPECT_FALSE(dio().Poll());
        EXPECT_EQ(leds(), "A5") << "a failed read shows nothing";
        EXPECT_EQ(lineState(), "") << "the lines are unknown, never \"error\"";
        // Unknown lines are read again, not written from the LEDs.
        EXPECT_FALSE(dio().Poll());
        EXPECT_EQ(port->sent, (std::vector<std::string>{"@01", "@01"}));

        // In the tick the failed poll loses the terminal; the identification that follows fails on the
        // same reply, and the LEDs go dark.
        window->Timer1Timer();
        EXPECT_FALSE(window->connection().found());
        EXPECT_EQ(leds(), "A5");
        window->Timer1Timer();
        EXPECT_FALSE(window->connection().found());
        EXPECT_EQ(port->sent.back(), "@01");
        EXPECT_EQ(leds(), "00");
        EXPECT_EQ(lineState(), "");
        EXPECT_TRUE(exceptions.isEmpty());
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(DioPageScripted, AClickedOutputIsWrittenOnTheNextPollInsteadOfARead) {
    ASSERT_EQ(directionLabel(7), QStringLiteral("OUT"));
    ASSERT_TRUE(led(7)->Active());
    click(led(7));
    EXPECT_EQ(leds(), "A4");
    EXPECT_TRUE(port->sent.empty()) << "the click itself sends nothing";

    terminal.lines = "00"; // not looked at in the writing tick
    window->Timer1Timer();
    EXPECT_EQ(port->sent, std::vector<std::string>{"@01A4"});
    EXPECT_EQ(leds(), "A4");
    EXPECT_EQ(lineState(), "A4");
    EXPECT_TRUE(window->connection().found());

    // Nothing toggled since: the next poll reads again and shows the terminal.
    window->Timer1Timer();
    EXPECT_EQ(port->sent, (std::vector<std::string>{"@01A4", "@01"}));
    EXPECT_EQ(leds(), "00");
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_EQ(waits[0], waits[1]) << "reads and writes ask no extra wait";
}

TEST_F(DioPageScripted, AFailedWriteLosesTheTerminalAndTheToggle) {
    click(led(6));
    ASSERT_EQ(leds(), "A7");
    ScriptedTerminal healthy = terminal;
    port->setScript(
        [healthy](const std::string& frame) { return frame == "@01A7" ? std::string() : healthy(frame); });
    EXPECT_FALSE(dio().Poll());
    EXPECT_EQ(lineState(), "A5") << "the line state stays as it was";

    window->connection().lose();
    window->Timer1Timer(); // identifies, reads the lines back, then polls them
    EXPECT_TRUE(window->connection().found());
    EXPECT_EQ(leds(), "A5");
    EXPECT_EQ(port->sent.back(), "@01");
}

// Inputs ignore clicks; without the terminal the LEDs, the save buttons and the poll do nothing but
// go dark.
TEST_F(DioPageScripted, LedClicksOnInputsAndEverythingWithoutTheTerminalDoNothing) {
    ASSERT_EQ(directionLabel(0), QStringLiteral("IN"));
    ASSERT_TRUE(led(0)->Active());
    click(led(0));
    EXPECT_TRUE(led(0)->Active());

    directionSwitch(4)->SetOffset(0);
    window->connection().lose();
    click(led(7));
    EXPECT_EQ(leds(), "A5");
    for (QPushButton* save : {dio().Button8, dio().Button9, dio().Button10})
        click(save);
    EXPECT_TRUE(dio().Button8->isEnabled()) << "nothing was saved";
    EXPECT_TRUE(port->sent.empty());

    EXPECT_FALSE(dio().Poll());
    EXPECT_EQ(leds(), "00");
    EXPECT_TRUE(port->sent.empty());
}

TEST_F(DioPageScripted, SwitchesEnableSaveAndReadDropsTheirChanges) {
    ASSERT_FALSE(dio().Button8->isEnabled());
    directionSwitch(0)->SetOffset(1);
    EXPECT_EQ(directionLabel(0), QStringLiteral("OUT"));
    EXPECT_TRUE(dio().Button8->isEnabled());
    directionSwitch(7)->SetOffset(0);
    EXPECT_EQ(directionLabel(7), QStringLiteral("IN"));

    window->connection().lose(); // Read needs no terminal: it shows the cached directions
    click(dio().Button7);
    EXPECT_FALSE(dio().Button8->isEnabled());
    EXPECT_EQ(directionSwitch(0)->Offset(), 0);
    EXPECT_EQ(directionLabel(0), QStringLiteral("IN"));
    EXPECT_EQ(directionSwitch(7)->Offset(), 1);
    EXPECT_EQ(directionLabel(7), QStringLiteral("OUT"));
    EXPECT_TRUE(port->sent.empty());
}

TEST_F(DioPageScripted, SaveButtonsSendTheirCommandsWithTheLongerWaitAndLoseTheTerminal) {
    // The wait of an exchange without extra wait, at this baud rate.
    window->Timer1Timer();
    ASSERT_EQ(waits.size(), 1u);
    const int plainWait = waits.front();

    struct Case {
        const char* name;
        QPushButton* DioPage::*button;
        std::string frame;
    };
    const Case cases[] = {{"Save", &DioPage::Button8, "$01D0F"},
                          {"Save PON", &DioPage::Button9, "~015P"},
                          {"Save Safe", &DioPage::Button10, "~015S"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(window->connection().identify());
        // Lines 4..7 inputs, 0..3 outputs: the opposite of the terminal's "F0".
        for (int k = 0; k < 8; ++k)
            directionSwitch(k)->SetOffset(k < 4 ? 1 : 0);
        ASSERT_TRUE(dio().Button8->isEnabled());
        port->sent.clear();
        waits.clear();

        click(dio().*c.button);
        EXPECT_EQ(port->sent, std::vector<std::string>{c.frame});
        ASSERT_EQ(waits.size(), 1u);
        EXPECT_EQ(waits.front(), plainWait + 100);
        EXPECT_FALSE(window->connection().found());
        EXPECT_EQ(dio().Button8->isEnabled(), c.button != &DioPage::Button8);

        // The next tick reads back what the terminal keeps (this one keeps "F0").
        window->Timer1Timer();
        EXPECT_EQ(port->sent[1], "$01M");
        EXPECT_TRUE(window->connection().found());
        EXPECT_EQ(directionLabel(0), QStringLiteral("IN"));
        EXPECT_FALSE(dio().Button8->isEnabled());
    }
}

// The column captions run 0..7 from the left while line 0 stands at the right: a byte with one bit set
// lights pixels only under that bit's caption, in the DIO, PON and SAFE rows, and makes the switch and
// label under that caption the one input.
TEST_F(DioPageScripted, EachColumnBelongsToTheBitOfItsCaption) {
    window->DIO->resize(490, 320); // the page's size on the shown window; hidden, it has none yet
    for (int bit = 0; bit < 8; ++bit) {
        SCOPED_TRACE(bit);
        const int line = 7 - bit;
        const std::string value = tkm::protocol::HexText(1u << bit, 2);
        const auto* caption = window->findChild<QLabel*>(QStringLiteral("LabelBit%1").arg(bit));
        ASSERT_EQ(caption->text(), QString::number(bit));
        const QRect column = caption->geometry();

        dio().ShowDirections(value);
        EXPECT_EQ(directionLabel(line), QStringLiteral("IN"));
        EXPECT_EQ(dio().DirectionsFromSwitches(), 1 << bit);
        for (const QWidget* w : {static_cast<const QWidget*>(directionSwitch(line)),
                                 window->findChild<const QWidget*>(QStringLiteral("CDDIO%1").arg(line))}) {
            const int centre = w->geometry().center().x();
            EXPECT_TRUE(centre >= column.left() && centre <= column.right()) << w->objectName().toStdString();
        }

#if !defined(__SANITIZE_THREAD__) // painting runs Qt's raster code, which ThreadSanitizer cannot follow
        for (const char* bank : {"DIO", "PON", "SAFE"})
            dio().ShowLedBank(QString::fromLatin1(bank), value);
        const QImage image = window->DIO->grab().toImage();
        int lit = 0;
        int outside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == QColor(0, 255, 0)) {
                    ++lit;
                    outside += x < column.left() || x > column.right();
                }
            }
        }
        EXPECT_GE(lit, 3 * 13 * 9) << "three lamps lit"; // each at least its inner area
        EXPECT_EQ(outside, 0);
#endif
    }
}
