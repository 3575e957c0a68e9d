// The traffic log's memo: it looks as the plain text edit it replaces, what the screen shows after
// lines are added one by one is what a full repaint draws, a reader who scrolled up keeps his place,
// and text is selected and copied as in any read-only text box.
#include "app/MemoTrafficLog.h"
#include "app/TrafficMemo.h"
#include "EventCounter.h"

#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QtTest/QTest>
#include <qpa/qplatformbackingstore.h>

#include <gtest/gtest.h>

namespace {

QFont WindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}

QString Line(int n) {
    return QStringLiteral("%1\t$01K --> !01102%2").arg(n).arg(n % 10);
}

// The plain text edit the memo replaces, set up and shown as the window showed it.
void ShowLikeTheMemo(QPlainTextEdit& edit) {
    edit.setFont(WindowFont());
    edit.setReadOnly(true);
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setTabStopDistance(32);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit.resize(420, 130);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
}

QImage ViewportOf(QAbstractScrollArea& area) {
    return area.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class TrafficMemoTest : public ::testing::Test {
protected:
    void SetUp() override {
#if defined(__SANITIZE_THREAD__)
        // Painting a shown window runs Qt's own raster threads, which ThreadSanitizer cannot follow.
        GTEST_SKIP() << "needs a painted window";
#endif
        memo.setFont(WindowFont());
        memo.setTabStopDistance(32);
        memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo.resize(420, 130);
        memo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    }

    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // The memo as the window's buffer holds it (what the screen shows), and as a full repaint draws
    // it, both in device pixels.
    QImage onScreen() {
        QImage buffer = memo.backingStore()->handle()->toImage();
        const qreal ratio = memo.devicePixelRatioF();
        const QRect area(QPoint(0, 0), (QSizeF(memo.size()) * ratio).toSize());
        return buffer.copy(area).convertToFormat(QImage::Format_RGB32);
    }
    QImage repainted() {
        QImage image = memo.grab().toImage().convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        return image;
    }

    QPoint placeOf(int line, int xInLine) const {
        return {TrafficMemo::kMargin + xInLine,
                TrafficMemo::kMargin + (line - memo.firstVisibleLine()) * 13 + 6};
    }

    TrafficMemo memo;
};

TEST_F(TrafficMemoTest, LooksAsThePlainTextEditItReplaces) {
    QPlainTextEdit edit;
    ShowLikeTheMemo(edit);

    // Empty, a few lines from the top, and a long log at its end and back at its top.
    EXPECT_EQ(ViewportOf(memo), ViewportOf(edit));
    for (int n = 1; n <= 4; ++n) {
        edit.appendPlainText(Line(n) + QStringLiteral(" \x0416\x0436"));
        memo.appendPlainText(Line(n) + QStringLiteral(" \x0416\x0436"));
    }
    settle();
    EXPECT_EQ(ViewportOf(memo), ViewportOf(edit));
    for (int n = 5; n <= 40; ++n) {
        edit.appendPlainText(Line(n));
        memo.appendPlainText(Line(n));
    }
    settle();
    EXPECT_EQ(memo.verticalScrollBar()->maximum(), edit.verticalScrollBar()->maximum());
    EXPECT_EQ(memo.verticalScrollBar()->value(), edit.verticalScrollBar()->value());
    EXPECT_EQ(ViewportOf(memo), ViewportOf(edit));
    edit.verticalScrollBar()->setValue(0);
    memo.verticalScrollBar()->setValue(0);
    settle();
    EXPECT_EQ(ViewportOf(memo), ViewportOf(edit));
}

// Log lines look as in a plain text edit, drawn again as they scroll: numbers of every width up to past a
// tab stop, digit pairs the font kerns, the same exchange after different numbers, letters that kern,
// Cyrillic, a character from another font, and lines of other shapes.
TEST_F(TrafficMemoTest, LinesOfEveryShapeLookAsInAPlainTextEdit) {
    QPlainTextEdit edit;
    ShowLikeTheMemo(edit);

    const QStringList exchanges = {
        QStringLiteral("$01K --> !010"),
        QStringLiteral("$01AVATAR Wa To --> !01"),
        QStringLiteral("$01O\x041F\x0440\x0438\x0432\x0435\x0442 --> !01"),
        QStringLiteral("$01O \x2192 \x4E2D --> !01"),
        QString(),
    };
    const QStringList numbers = {QStringLiteral("1"),     QStringLiteral("11"),     QStringLiteral("17"),
                                 QStringLiteral("71"),    QStringLiteral("111"),    QStringLiteral("1711"),
                                 QStringLiteral("4444"),  QStringLiteral("11111"),  QStringLiteral("99999"),
                                 QStringLiteral("111111"), QStringLiteral("1234567"), QStringLiteral("0")};
    QStringList lines;
    for (int round = 0; round < 2; ++round)
        for (const QString& number : numbers)
            for (const QString& exchange : exchanges)
                lines.append(number + QLatin1Char('\t') + exchange);
    lines.append(QStringLiteral("Port opened"));
    lines.append(QStringLiteral("12\t$01K\t!010"));
    lines.append(QStringLiteral("\t$01K --> !010"));
    lines.append(QStringLiteral("1a\t$01K --> !010"));
    for (const QString& line : lines) {
        memo.appendPlainText(line);
        edit.appendPlainText(line);
    }
    settle();
    ASSERT_EQ(memo.verticalScrollBar()->maximum(), edit.verticalScrollBar()->maximum());
    for (int first = 0; first <= memo.verticalScrollBar()->maximum(); ++first) {
        memo.verticalScrollBar()->setValue(first);
        edit.verticalScrollBar()->setValue(first);
        settle();
        ASSERT_EQ(ViewportOf(memo), ViewportOf(edit)) << "from line " << first;
    }
}

// Lines scrolled into view start no timer on the memo or its bars, and the horizontal bar comes and
// goes with lines wider than the view as the plain text edit's does.
TEST_F(TrafficMemoTest, TheHorizontalBarShowsWhileALineIsWiderThanTheView) {
    QPlainTextEdit edit;
    ShowLikeTheMemo(edit);
    auto both = [&](const QString& line) {
        memo.appendPlainText(line);
        edit.appendPlainText(line);
        settle();
    };
    for (int n = 1; n <= 12; ++n)
        both(Line(n));

    EventCounter timers(QEvent::Timer);
    timers.watch({&memo, memo.viewport(), memo.verticalScrollBar(), memo.horizontalScrollBar()});
    for (int n = 13; n <= 19; ++n)
        both(Line(n));
    EXPECT_EQ(timers.count, 0);
    EXPECT_FALSE(memo.horizontalScrollBar()->isVisible());
    EXPECT_EQ(ViewportOf(memo), ViewportOf(edit));

    both(QStringLiteral("20\t$01O") + QString(80, QLatin1Char('W')) + QStringLiteral(" --> !01"));
    EXPECT_TRUE(memo.horizontalScrollBar()->isVisible());
    EXPECT_TRUE(edit.horizontalScrollBar()->isVisible());
    EXPECT_EQ(memo.viewport()->size(), edit.viewport()->size());
    EXPECT_EQ(memo.verticalScrollBar()->maximum(), edit.verticalScrollBar()->maximum());
    // The memo stays at the end as the bar takes its row (the edit falls a line short of it).
    EXPECT_EQ(memo.verticalScrollBar()->value(), memo.verticalScrollBar()->maximum());
    edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
    settle();
    EXPECT_EQ(ViewportOf(memo), ViewportOf(edit));

    memo.clear();
    settle();
    EXPECT_FALSE(memo.horizontalScrollBar()->isVisible());
    EXPECT_EQ(memo.viewport()->height(), 130 - 2 * memo.frameWidth());
}

// A bar shown only as needed comes when the lines overflow the view and goes when they are cleared,
// as the plain text edit's does.
TEST_F(TrafficMemoTest, AVerticalBarAsNeededComesAndGoesWithTheLines) {
    QPlainTextEdit edit;
    ShowLikeTheMemo(edit);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    memo.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    settle();
    EXPECT_FALSE(memo.verticalScrollBar()->isVisible());
    for (int n = 1; n <= 12; ++n) {
        memo.appendPlainText(Line(n));
        edit.appendPlainText(Line(n));
        settle();
        ASSERT_EQ(memo.verticalScrollBar()->isVisible(), edit.verticalScrollBar()->isVisible()) << "line " << n;
    }
    EXPECT_TRUE(memo.verticalScrollBar()->isVisible());
    EXPECT_EQ(memo.viewport()->size(), edit.viewport()->size());
    EXPECT_EQ(ViewportOf(memo), ViewportOf(edit));
    memo.clear();
    settle();
    EXPECT_FALSE(memo.verticalScrollBar()->isVisible());
}

TEST_F(TrafficMemoTest, TheScreenShowsWhatAFullRepaintWouldAsLinesArrive) {
    for (int n = 1; n <= 30; ++n) {
        memo.appendLines({Line(n)});
        settle();
        ASSERT_EQ(onScreen(), repainted()) << "after line " << n;
    }
    memo.appendLines({Line(31), Line(32), Line(33)}); // a tick of several exchanges
    settle();
    EXPECT_EQ(onScreen(), repainted());
    memo.verticalScrollBar()->setValue(3);
    settle();
    EXPECT_EQ(onScreen(), repainted());
    memo.appendLines({Line(34)});
    settle();
    EXPECT_EQ(onScreen(), repainted());
    memo.clear();
    settle();
    EXPECT_EQ(onScreen(), repainted());
}

TEST_F(TrafficMemoTest, FollowsTheEndUnlessTheReaderScrolledUp) {
    for (int n = 1; n <= 30; ++n)
        memo.appendLines({Line(n)});
    QScrollBar* bar = memo.verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(memo.firstVisibleLine() + bar->pageStep(), 30) << "the last line is shown whole";

    bar->setValue(5);
    memo.appendLines({Line(31), Line(32)});
    EXPECT_EQ(memo.firstVisibleLine(), 5);

    bar->setValue(bar->maximum());
    memo.appendLines({Line(33)});
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(memo.firstVisibleLine() + bar->pageStep(), 33);
}

TEST_F(TrafficMemoTest, KeepsItsLinesAsTheyCame) {
    memo.appendPlainText(QStringLiteral("1\t$01M --> !01TKM-9214\n2\t$012 --> !010Z"));
    memo.appendLines({QStringLiteral("3\t$01K --> !010"), QString()});
    EXPECT_EQ(memo.lineCount(), 4);
    EXPECT_EQ(memo.toPlainText(),
              QStringLiteral("1\t$01M --> !01TKM-9214\n2\t$012 --> !010Z\n3\t$01K --> !010\n"));
    memo.clear();
    EXPECT_EQ(memo.lineCount(), 0);
    EXPECT_EQ(memo.toPlainText(), QString());
    EXPECT_EQ(memo.verticalScrollBar()->maximum(), 0);
}

TEST_F(TrafficMemoTest, TextIsSelectedWithTheMouseAndCopied) {
    memo.appendLines({QStringLiteral("1\t$01M --> !01TKM-9214"), QStringLiteral("2\t$012 --> !010Z060100"),
                      QStringLiteral("3\t$01K --> !010")});
    settle();
    QWidget* view = memo.viewport();

    // From the start of the first line to the middle of the second.
    QTest::mousePress(view, Qt::LeftButton, {}, placeOf(0, 0));
    QTest::mouseMove(view, placeOf(1, 1000));
    QTest::mouseRelease(view, Qt::LeftButton, {}, placeOf(1, 1000));
    EXPECT_EQ(memo.selectedText(), QStringLiteral("1\t$01M --> !01TKM-9214\n2\t$012 --> !010Z060100"));

    QTest::keyClick(&memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), memo.selectedText());

    // A double click takes the word under it: here the reply of the third line.
    QTest::mouseDClick(view, Qt::LeftButton, {}, placeOf(2, 1000));
    EXPECT_EQ(memo.selectedText(), QStringLiteral("!010"));

    QTest::keyClick(&memo, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(memo.selectedText(), memo.toPlainText());

    // A click without a drag selects nothing; nothing selected copies nothing.
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    QTest::mouseClick(view, Qt::LeftButton, {}, placeOf(1, 10));
    EXPECT_EQ(memo.selectedText(), QString());
    QTest::keyClick(&memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(TrafficMemoTest, ASelectionIsShownAsSelected) {
    memo.appendLines({Line(1), Line(2)});
    settle();
    const QImage plain = repainted();
    memo.selectAll();
    settle();
    const QImage selected = repainted();
    const QRgb highlight = memo.palette().color(QPalette::Highlight).rgb();
    int highlighted = 0;
    for (int y = 0; y < selected.height(); ++y)
        for (int x = 0; x < selected.width(); ++x)
            highlighted += (selected.pixel(x, y) & 0xFFFFFF) == (highlight & 0xFFFFFF);
    EXPECT_GT(highlighted, 200);
    EXPECT_NE(plain, selected);
    EXPECT_EQ(onScreen(), selected);
}

// The log's lines go into the memo together once the event loop is back; a log that goes before then
// takes its queued call with it, and the memo is left as it was.
TEST(MemoTrafficLogTest, LinesGoInTogetherAndALogGoneTakesItsQueuedCallWithIt) {
    TrafficMemo memo;
    {
        MemoTrafficLog log(&memo);
        log.AppendNote(QStringLiteral("one"));
        log.AppendNote(QStringLiteral("two"));
        EXPECT_EQ(memo.lineCount(), 0);
        EXPECT_EQ(log.LineCount(), 2);
        QCoreApplication::processEvents();
        EXPECT_EQ(memo.lineCount(), 2);
        log.AppendNote(QStringLiteral("three"));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(memo.lineCount(), 2);
}

} // namespace
