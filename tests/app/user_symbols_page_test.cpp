// The UserSymbols page: drawing in the editor, selecting, the symbol file, and (against the built-in
// simulated terminal over a pseudo-terminal) the bytes the save buttons put on the line.
#include "PageFileFixture.h"
#include "SimulatedLineFixture.h"

#include "app/RadioGroup.h"
#include "app/UserSymbolsPage.h"

#include "sim/TerminalModel.h"
#include "widgets/TVrRaster.h"
#include "widgets/TVrRasterLed.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kEmpty(16, '0');

std::string repeated(const std::string& row, int times) {
    std::string code;
    for (int i = 0; i < times; ++i)
        code += row;
    return code;
}

class UserSymbolsTest : public PageFileFixture {
protected:
    UserSymbolsPage* page() const { return window->UserSymbols; }
    TVrRaster* raster(int n) const { return window->findChild<TVrRaster*>(QStringLiteral("US%1").arg(n)); }
    void click(int n, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(raster(n), button, {}, QPoint(x, y));
    }
    std::vector<bool> dots(int n) const {
        std::vector<bool> lit;
        for (int i = 0; i < raster(n)->Count(); ++i)
            lit.push_back(raster(n)->Items(i)->Active());
        return lit;
    }
    std::string shownCode() const { return page()->USCode->text().toStdString(); }

    // Reads the file content in through "Read in file".
    void readIn(const QByteArray& content) {
        const QString file = path(QStringLiteral("symbols.tkm"));
        write(file, content);
        answer(window->OpenDialog1, file);
        page()->Button5->click();
    }
};

} // namespace

TEST_F(UserSymbolsTest, EditorClicksInvertTheDotUnderThePointer) {
    using Point = std::pair<int, int>;
    struct Case {
        std::vector<Point> clicks;
        std::string code;
    };
    const Case cases[] = {
        {{{2, 3}}, kEmpty}, // in the border
        {{{3, 202}}, kEmpty},
        {{{127, 100}}, kEmpty},
        {{{3, 3}}, "10" + repeated("00", 7)},     // dot 0: row 0, column 0
        {{{126, 201}}, repeated("00", 7) + "01"}, // dot 39: row 7, column 4
        {{{26, 26}}, "10" + repeated("00", 7)},   // still the first cell of the 25-pixel pitch
        {{{27, 27}}, "0008" + repeated("00", 6)}, // the second one
        {{{3, 190}, {28, 190}, {53, 190}, {78, 190}, {103, 190}}, repeated("00", 7) + "1F"},
        {{{60, 60}, {60, 60}}, kEmpty},
    };
    for (const Case& c : cases) {
        page()->ClearUS->click();
        for (const auto& [x, y] : c.clicks)
            click(8, x, y);
        EXPECT_EQ(page()->symbolCode(0), c.code) << c.clicks.front().first << "," << c.clicks.front().second;
        EXPECT_EQ(shownCode(), c.code);
        EXPECT_EQ(dots(0), dots(8)) << "the small raster follows";
    }
    page()->ClearUS->click();
    click(8, 3, 3, Qt::RightButton); // any button draws
    EXPECT_EQ(page()->symbolCode(0), "10" + repeated("00", 7));
}

TEST_F(UserSymbolsTest, InvAndClearWorkOnTheSelectedSymbol) {
    page()->SUS->setItemIndex(4);
    page()->InvUS->click();
    EXPECT_EQ(page()->symbolCode(4), repeated("1F", 8));
    EXPECT_EQ(dots(4), std::vector<bool>(40, true));
    EXPECT_EQ(page()->symbolCode(0), kEmpty);
    page()->ClearUS->click();
    EXPECT_EQ(page()->symbolCode(4), kEmpty);
    EXPECT_EQ(dots(4), std::vector<bool>(40, false));
    EXPECT_EQ(dots(8), std::vector<bool>(40, false));
}

TEST_F(UserSymbolsTest, SelectingShowsTheSymbolAndAClickOnASmallRasterChangesNoDot) {
    page()->setSymbolCode(3, "1F00000000000000");
    page()->setSymbolCode(6, "000000000000001F");
    click(3, 1, 1);
    EXPECT_EQ(page()->SUS->itemIndex(), 3);
    EXPECT_EQ(shownCode(), "1F00000000000000");
    EXPECT_EQ(dots(8), dots(3));
    EXPECT_EQ(page()->symbolCode(3), "1F00000000000000");
    click(3, 20, 30); // again: no dot of the small raster changes
    EXPECT_EQ(page()->symbolCode(3), "1F00000000000000");
    EXPECT_TRUE(raster(3)->Items(0)->Active());
    EXPECT_FALSE(raster(3)->Items(39)->Active());

    page()->SUS->item(6)->click();
    EXPECT_EQ(page()->SUS->itemIndex(), 6);
    EXPECT_EQ(shownCode(), "000000000000001F");
    EXPECT_EQ(dots(8), dots(6));
}

TEST_F(UserSymbolsTest, FileCodesAreHeldAsReadUntilTheSymbolIsEdited) {
    readIn("[UserSymbols]\r\n0=FFFFFFFFFFFFFFFF\r\n1=1f00000000000011\r\n");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(page()->symbolCode(0), repeated("FF", 8));
    EXPECT_EQ(page()->symbolCode(1), "1f00000000000011");
    EXPECT_EQ(dots(0), std::vector<bool>(40, true));
    EXPECT_EQ(shownCode(), repeated("FF", 8));
    click(8, 3, 3);
    EXPECT_EQ(page()->symbolCode(0), "0F" + repeated("1F", 7));
    EXPECT_EQ(window->SaveDialog1->FileName(), path(QStringLiteral("symbols.tkm")));
}

TEST_F(UserSymbolsTest, ReadInFileReportsEachBadSymbolOnceAndClearsIt) {
    for (int n = 0; n < UserSymbolsPage::kSymbols; ++n)
        page()->setSymbolCode(n, repeated("1F", 8));
    readIn("[userSymbols]\n"
           "0=000000000000000\n"    // 15 characters
           "1=00000000000000000\n"  // 17
           "2=0G0000000000000Z\n"   // the first bad character is named
           "3= 0a0a0a0a0a0a0a0a \n" // blanks around a value do not count
           "5=\n"
           "6=0000000\xC6"
           "00000000\n" // a Cyrillic letter, in Windows-1251
           "7=0000000000000001\n");
    const QStringList expected = {
        QStringLiteral("Incorrect length symbol #0"), QStringLiteral("Incorrect length symbol #1"),
        QStringLiteral("Incorrect symbol #2 'G'"), QStringLiteral("Incorrect length symbol #5"),
        QString::fromUtf8("Incorrect symbol #6 '\xD0\x96'")};
    EXPECT_EQ(messages, expected);
    const std::vector<std::string> codes = {kEmpty, kEmpty, kEmpty, "0a0a0a0a0a0a0a0a",
                                            kEmpty, kEmpty, kEmpty, "0000000000000001"};
    for (int n = 0; n < UserSymbolsPage::kSymbols; ++n) {
        EXPECT_EQ(page()->symbolCode(n), codes[static_cast<std::size_t>(n)]) << n;
        EXPECT_EQ(dots(n)[0], false) << n;
    }
}

TEST_F(UserSymbolsTest, ASettingsFileWithoutSymbolsClearsAllEight) {
    for (int n = 0; n < UserSymbolsPage::kSymbols; ++n)
        page()->setSymbolCode(n, repeated("1F", 8));
    page()->RedrawSymbol(8);
    readIn("[CommSetting]\r\nBaudRated=5\r\n");
    EXPECT_TRUE(messages.isEmpty());
    for (int n = 0; n < UserSymbolsPage::kSymbols; ++n)
        EXPECT_EQ(page()->symbolCode(n), kEmpty) << n;
    EXPECT_EQ(dots(8), std::vector<bool>(40, false));
    EXPECT_EQ(shownCode(), kEmpty);
}

TEST_F(UserSymbolsTest, SaveToFileKeepsTheSettingsAndReadsBack) {
    const QString file = path(QStringLiteral("both.tkm"));
    const QByteArray settings = "[CommSetting]\r\nBaudRated=7\r\nCodePage=2\r\nCS=0\r\nAddr=12\r\n"
                                "[Modification]\r\nDateTime=old\r\n";
    write(file, settings);
    page()->setSymbolCode(2, "1f1f1f1f1f1f1f1f");
    page()->setSymbolCode(7, "000000000000001F");
    answer(window->SaveDialog1, file);
    page()->Button6->click();
    const QByteArray bytes = contents(file);
    EXPECT_TRUE(bytes.startsWith("[CommSetting]\r\nBaudRated=7\r\nCodePage=2\r\nCS=0\r\nAddr=12\r\n"
                                 "[Modification]\r\nDateTime="))
        << bytes.toStdString();
    EXPECT_TRUE(
        bytes.endsWith("[UserSymbols]\r\n0=0000000000000000\r\n1=0000000000000000\r\n2=1f1f1f1f1f1f1f1f\r\n"
                       "3=0000000000000000\r\n4=0000000000000000\r\n5=0000000000000000\r\n"
                       "6=0000000000000000\r\n7=000000000000001F\r\n"))
        << bytes.toStdString();
    EXPECT_EQ(window->OpenDialog1->FileName(), file);

    // After a restart the file brings them back.
    window.reset();
    window = std::make_unique<TF1>();
    window->Timer1->stop();
    window->Keyboard->Timer3->stop();
    window->OpenDialog1->setChooser([file](const FileDialog&) { return file; });
    window->UserSymbols->Button5->click();
    EXPECT_EQ(window->UserSymbols->symbolCode(2), "1f1f1f1f1f1f1f1f");
    EXPECT_EQ(window->UserSymbols->symbolCode(7), "000000000000001F");
    EXPECT_EQ(
        messages,
        QStringList{QStringLiteral("%1 already exists.\nSave the user symbols into it? Its other sections "
                                   "are kept.")
                        .arg(file)});
}

TEST_F(UserSymbolsTest, ANewSymbolFileHasItsSectionsInOrder) {
    answer(window->SaveDialog1, path(QStringLiteral("new")));
    page()->Button6->click();
    const QByteArray bytes = contents(path(QStringLiteral("new.tkm")));
    EXPECT_TRUE(bytes.startsWith("[UserSymbols]\r\n0=0000000000000000\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("7=0000000000000000\r\n[Modification]\r\nDateTime=")) << bytes.toStdString();
}

// ---- On the line ----

class UserSymbolsOnTheLine : public SimulatedLine {
protected:
    UserSymbolsPage* page() const { return window->UserSymbols; }
    std::array<std::string, 8> stored() const { return sim()->model().state().symbols; }
};

TEST_F(UserSymbolsOnTheLine, SaveSymbolSendsTheSelectedCodeAsHeld) {
    tkm::sim::TerminalSettings settings;
    settings.address = 5;
    openSimulator(settings);
    identifyAt(5);
    page()->setSymbolCode(5, "0a1b0c1d0e1f1011");
    page()->SUS->setItemIndex(5);
    page()->SaveSym->click();
    EXPECT_EQ(received(), std::vector<std::string>{"$05G50a1b0c1d0e1f1011"});
    EXPECT_EQ(stored()[5], "0a1b0c1d0e1f1011");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(window->connection().found());
}

TEST_F(UserSymbolsOnTheLine, AFileCodeIsSentUnchangedAndRebuiltAfterAnEdit) {
    openSimulator();
    identifyAt(1);
    page()->setSymbolCode(0, repeated("FF", 8));
    page()->RedrawSymbol(8);
    page()->SaveSym->click();
    EXPECT_EQ(stored()[0], repeated("FF", 8));
    QTest::mouseClick(window->findChild<TVrRaster*>(QStringLiteral("US8")), Qt::LeftButton, {},
                      QPoint(126, 201));
    page()->SaveSym->click();
    EXPECT_EQ(received(),
              (std::vector<std::string>{"$01G0" + repeated("FF", 8), "$01G0" + repeated("1F", 7) + "1E"}));
    EXPECT_EQ(stored()[0], repeated("1F", 7) + "1E");
}

TEST_F(UserSymbolsOnTheLine, SaveAllSendsTheEightInOrder) {
    openSimulator();
    identifyAt(1);
    std::vector<std::string> expected;
    for (int n = 0; n < UserSymbolsPage::kSymbols; ++n) {
        const std::string code = repeated("0" + std::to_string(n), 8);
        page()->setSymbolCode(n, code);
        expected.push_back("$01G" + std::to_string(n) + code);
    }
    page()->SaveAllSym->click();
    EXPECT_EQ(received(), expected);
    for (int n = 0; n < UserSymbolsPage::kSymbols; ++n)
        EXPECT_EQ(stored()[static_cast<std::size_t>(n)], expected[static_cast<std::size_t>(n)].substr(5))
            << n;
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(UserSymbolsOnTheLine, ATerminalThatStopsAnsweringGivesOneMessagePerSymbol) {
    openSimulator();
    identifyAt(1);
    sim()->model().powerOff();
    page()->SaveSym->click();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Symbol not saved")});
    EXPECT_FALSE(window->connection().found());
    page()->SaveAllSym->click(); // the flag is clear: nothing is sent
    EXPECT_EQ(received().size(), 1u);

    messages.clear();
    sim()->model().powerOn();
    window->Timer1Timer();
    ASSERT_TRUE(window->connection().found());
    received();
    sim()->model().powerOff();
    page()->SaveAllSym->click();
    EXPECT_EQ(received().size(), 8u);
    EXPECT_EQ(messages, QStringList(8, QStringLiteral("Symbol not saved")));
    EXPECT_FALSE(window->connection().found());
}
