// The Display page against the built-in simulator over a pty: the bytes on the line, the widgets,
// and what the simulated terminal shows.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "SimulatedLineFixture.h"

#include "app/DisplayPage.h"

#include "widgets/TVrNumEdit.h"
#include "widgets/TVrUserLed.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Frames = std::vector<std::string>;

class DisplayPageOnTheLine : public SimulatedLine {
protected:
    void SetUp() override {
        SimulatedLine::SetUp();
        page = window->Display;
    }

    void identified(const tkm::sim::TerminalSettings& settings = {}) {
        openSimulator(settings);
        identifyAt(1);
    }

    // The first row of the simulated display, as the terminal holds it.
    std::string row(int r) { return sim()->model().state().rows[static_cast<std::size_t>(r)]; }

    DisplayPage* page = nullptr;
};

TEST_F(DisplayPageOnTheLine, SendTakesTheFirst43CharactersAndEmptyTextSendsTheCommandAlone) {
    identified();
    const std::string fifty = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    page->Edit1->setText(QString::fromStdString(fifty));
    QTest::mouseClick(page->Button12, Qt::LeftButton);
    page->Edit1->clear();
    QTest::mouseClick(page->Button12, Qt::LeftButton);
    EXPECT_EQ(received(), (Frames{"$01O" + fifty.substr(0, 43), "$01O"}));
    EXPECT_TRUE(window->connection().found());
}

TEST_F(DisplayPageOnTheLine, TypingCutsAt43AndShowsTheLength) {
    identified();
    page->Edit1->clear();
    page->Edit1->setFocus();
    QTest::keyClicks(page->Edit1, QString(50, QLatin1Char('x')));
    EXPECT_EQ(page->Edit1->text(), QString(43, QLatin1Char('x')));
    EXPECT_EQ(page->Edit1->cursorPosition(), 43);
    EXPECT_EQ(page->LStr->text(), QStringLiteral("Length=43"));
    QTest::keyClick(page->Edit1, Qt::Key_Backspace);
    EXPECT_EQ(page->LStr->text(), QStringLiteral("Length=42"));
    EXPECT_TRUE(received().empty());
}

TEST_F(DisplayPageOnTheLine, EnterSendsAndEscapeClearsAndBothKeysAreConsumed) {
    identified();
    page->Edit1->setText(QStringLiteral("HELLO"));
    QSignalSpy returned(page->Edit1, &QLineEdit::returnPressed);
    QTest::keyClick(page->Edit1, Qt::Key_Return);
    QTest::keyClick(page->Edit1, Qt::Key_Enter);
    EXPECT_EQ(returned.count(), 0);
    EXPECT_EQ(row(0).substr(0, 10), "HELLOHELLO");
    QTest::keyClick(page->Edit1, Qt::Key_Escape);
    EXPECT_EQ(received(), (Frames{"$01OHELLO", "$01OHELLO", "$01T"}));
    EXPECT_EQ(row(0), std::string(20, ' '));
    EXPECT_EQ(page->Edit1->text(), QStringLiteral("HELLO"));
}

struct CodePageCase {
    int codePage;
    std::string bytes; // Привет in that code page
};

class DisplayPageCodePage : public DisplayPageOnTheLine,
                            public ::testing::WithParamInterface<CodePageCase> {};

TEST_P(DisplayPageCodePage, CyrillicArrivesInTheTerminalsCodePage) {
    tkm::sim::TerminalSettings settings;
    settings.codePage = GetParam().codePage;
    identified(settings);
    page->Edit1->setText(QStringLiteral("Привет"));
    QTest::mouseClick(page->Button12, Qt::LeftButton);
    EXPECT_EQ(received(), Frames{"$01O" + GetParam().bytes});
    EXPECT_EQ(row(0).substr(0, 6), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(CodePages, DisplayPageCodePage,
                         ::testing::Values(CodePageCase{0, "\x8F\xE0\xA8\xA2\xA5\xE2"},
                                           CodePageCase{1, "\xCF\xF0\xE8\xE2\xE5\xF2"},
                                           CodePageCase{2, "\xF0\xD2\xC9\xD7\xC5\xD4"}));

TEST_F(DisplayPageOnTheLine, TextTheTerminalCannotShowIsRefusedWithAMessage) {
    identified();
    for (const QString& text :
         {QStringLiteral("OK 😀"), QStringLiteral("A\rB"), QStringLiteral("tab\there")}) {
        messages.clear();
        page->Edit1->setText(text);
        QTest::mouseClick(page->Button12, Qt::LeftButton);
        ASSERT_EQ(messages.size(), 1) << text.toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("Nothing was sent")));
    }
    EXPECT_TRUE(messages[0].contains(QStringLiteral("\\x09")));
    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(window->connection().found());
}

TEST_F(DisplayPageOnTheLine, SetCursorSendsRowAndTwoDigitColumn) {
    identified();
    struct Case {
        const char* row;
        const char* column;
        std::string frame;
    };
    for (const Case& c : {Case{"0", "0", "$01T000"}, Case{"1", "5", "$01T105"}, Case{"3", "19", "$01T319"}}) {
        page->CY->setText(QString::fromLatin1(c.row));
        page->CX->setText(QString::fromLatin1(c.column));
        QTest::mouseClick(page->Button13, Qt::LeftButton);
        EXPECT_EQ(received(), Frames{c.frame});
    }
    EXPECT_EQ(sim()->model().state().cursorRow, 3);
    EXPECT_EQ(sim()->model().state().cursorColumn, 19);
}

TEST_F(DisplayPageOnTheLine, CursorEditsKeepToTheDisplay) {
    QTest::keyClicks(page->CX, QStringLiteral("25"));
    EXPECT_EQ(page->CX->text(), QStringLiteral("19"));
    QTest::keyClicks(page->CY, QStringLiteral("7"));
    EXPECT_EQ(page->CY->text(), QStringLiteral("3"));
    EXPECT_TRUE(exceptions.isEmpty());
}

TEST_F(DisplayPageOnTheLine, ALoneMinusShowsTheConversionErrorOnceAndStays) {
    for (TVrNumEdit* edit : {page->CX, page->CY}) {
        exceptions.clear();
        edit->clear();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Minus);
        ASSERT_EQ(exceptions.size(), 1) << edit->objectName().toStdString();
        EXPECT_EQ(exceptions[0], QStringLiteral("'-' is not a valid floating point value"));
        EXPECT_EQ(edit->text(), QStringLiteral("-"));
    }
}

TEST_F(DisplayPageOnTheLine, LampsSwitchOnlyWithTheTerminalFoundAndOnlyWhenItAnswered) {
    openSimulator();
    QTest::mouseClick(page->Led1, Qt::LeftButton);
    EXPECT_TRUE(received().empty());
    EXPECT_FALSE(page->Led1->Active());

    identifyAt(1);
    QTest::mouseClick(page->Led1, Qt::LeftButton);
    QTest::mouseClick(page->Led2, Qt::LeftButton);
    EXPECT_TRUE(page->Led1->Active());
    EXPECT_TRUE(sim()->model().state().lamp2);
    QTest::mouseClick(page->Led1, Qt::LeftButton);
    EXPECT_EQ(received(), (Frames{"$01I11", "$01I21", "$01I10"}));
    EXPECT_FALSE(page->Led1->Active());
    EXPECT_FALSE(sim()->model().state().lamp1);

    // No answer: the widget stays as it was, the terminal is lost, and no box says so.
    sim()->model().powerOff();
    QTest::mouseClick(page->Led2, Qt::LeftButton);
    EXPECT_TRUE(page->Led2->Active());
    EXPECT_FALSE(window->connection().found());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(exceptions.isEmpty());
}

TEST_F(DisplayPageOnTheLine, UseSettingSendsTheSumAndDefaultLeavesEepromAlone) {
    identified();
    struct Case {
        bool enabled, blinking, staticCursor, eeprom;
        const char* digit;
    };
    const Case cases[] = {{true, true, true, false, "7"},
                          {false, false, false, true, "8"},
                          {false, false, false, false, "0"},
                          {true, true, true, true, "F"}};
    for (const Case& c : cases) {
        page->EnDispl->setChecked(c.enabled);
        page->BCurs->setChecked(c.blinking);
        page->Scurs->setChecked(c.staticCursor);
        page->EEPDispl->setChecked(c.eeprom);
        QTest::mouseClick(page->Button14, Qt::LeftButton);
        EXPECT_EQ(received(), Frames{std::string("$01S") + c.digit});
    }
    EXPECT_EQ(sim()->model().state().savedDisplaySettings, 7);

    page->EnDispl->setChecked(false);
    page->BCurs->setChecked(false);
    QTest::mouseClick(page->Button15, Qt::LeftButton);
    EXPECT_TRUE(page->EnDispl->isChecked() && page->BCurs->isChecked() && page->Scurs->isChecked());
    EXPECT_TRUE(page->EEPDispl->isChecked());
    EXPECT_TRUE(received().empty());
}

TEST_F(DisplayPageOnTheLine, AFailedSendLosesTheTerminalWithoutABox) {
    identified();
    sim()->model().powerOff();
    QTest::mouseClick(page->Button11, Qt::LeftButton);
    EXPECT_FALSE(window->connection().found());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(exceptions.isEmpty());
}

// The extra waits, which only a scripted port shows.
TEST_F(WindowFixture, DisplayPageWaitsLongerForEnterAndUseSetting) {
    ScriptedPort port{ScriptedTerminal{}};
    window->setTransactPort(&port);
    std::vector<int> waits;
    window->setSleep([&](int ms) { waits.push_back(ms); });
    window->Adr->SetPosition(1);
    ASSERT_TRUE(window->connection().found());
    waits.clear();
    QTest::keyClick(window->Display->Edit1, Qt::Key_Return);
    QTest::mouseClick(window->Display->Button12, Qt::LeftButton);
    QTest::mouseClick(window->Display->Button14, Qt::LeftButton);
    EXPECT_EQ(waits, (std::vector<int>{52 + 50, 52, 52 + 100}));
}

} // namespace
