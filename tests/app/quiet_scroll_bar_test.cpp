// The traffic log's scroll bar skips repaints that would show nothing new, and what is on the screen
// is always what a full repaint would show.
#include "app/QuietScrollBar.h"
#include "app/TrafficMemo.h"
#include "EventCounter.h"

#include <QCoreApplication>
#include <QBackingStore>
#include <QImage>
#include <QPaintEvent>
#include <QPixmap>
#include <qpa/qplatformbackingstore.h>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            painted = painted.united(static_cast<QPaintEvent*>(event)->rect());
        }
        return false;
    }
    int paints = 0;
    QRect painted; // what the paints since the last reset reached
};

class LogScrollBar : public ::testing::Test {
protected:
    void SetUp() override {
#if defined(__SANITIZE_THREAD__)
        // Painting a shown window runs Qt's own raster threads, which ThreadSanitizer cannot follow.
        GTEST_SKIP() << "needs a painted window";
#endif
        memo.resize(420, 130);
        bar = new QuietScrollBar(Qt::Vertical, &memo);
        memo.setVerticalScrollBar(bar);
        memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
        bar->installEventFilter(&counter);
    }

    void append(int lines) {
        for (int i = 0; i < lines; ++i)
            memo.appendPlainText(QStringLiteral("%1\t$01K --> !010").arg(i));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // The log with its scroll bar as the window's buffer holds it (what the screen shows), and as a
    // full repaint draws it, both in device pixels.
    QImage onScreen() {
        const QImage buffer = memo.backingStore()->handle()->toImage();
        const QRect area(QPoint(0, 0), (QSizeF(memo.size()) * memo.devicePixelRatioF()).toSize());
        return buffer.copy(area).convertToFormat(QImage::Format_RGB32);
    }
    QImage repainted() {
        QImage image = memo.grab().toImage().convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        return image;
    }

    TrafficMemo memo;
    QuietScrollBar* bar = nullptr;
    PaintCounter counter;
};

TEST_F(LogScrollBar, TheScreenAlwaysShowsWhatAFullRepaintWould) {
    for (int step = 0; step < 120; ++step) {
        append(step < 60 ? 1 : 7);
        ASSERT_EQ(onScreen(), repainted()) << "after step " << step << ", " << memo.lineCount() << " lines";
    }
    memo.verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(onScreen(), repainted());
}

TEST_F(LogScrollBar, ALongLogRepaintsTheBarOnlyWhenTheHandleMoves) {
    append(1500);
    counter.paints = 0;
    for (int i = 0; i < 100; ++i)
        append(1);
    // Scrolled to its end, with the handle at its smallest, the bar looks the same line after line.
    EXPECT_LT(counter.paints, 10);
    EXPECT_EQ(onScreen(), repainted());
}

TEST_F(LogScrollBar, AMovingHandleRepaintsWhereItWasAndWhereItIsOnly) {
    // From a dozen lines until the handle is at its shortest it moves and shrinks with every line.
    append(12);
    int paints = 0;
    for (int i = 0; i < 24; ++i) {
        counter.paints = 0;
        counter.painted = {};
        append(1);
        paints += counter.paints;
        // Never the whole bar: the arrows and the groove away from the handle stay as they are.
        EXPECT_LT(counter.painted.height(), bar->height() - 20) << "line " << i;
        ASSERT_EQ(onScreen(), repainted()) << "line " << i;
    }
    EXPECT_GE(paints, 10);
}

TEST_F(LogScrollBar, AnAppendedLineIsShownWithoutQueuedCalls) {
    // The memo holds the bar while it moves the range and the value, and a range that only grows
    // does not ask the scroll area to lay its bars out again: nothing waits for the event loop but
    // the repaint.
    append(12);
    EventCounter calls(QEvent::MetaCall);
    calls.watch({&memo, bar});
    for (int i = 0; i < 30; ++i) {
        append(1);
        ASSERT_EQ(onScreen(), repainted()) << "line " << i;
    }
    EXPECT_EQ(calls.count, 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

} // namespace
