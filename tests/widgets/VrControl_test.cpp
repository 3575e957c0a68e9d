#include "TVrCursors.h"
#include "TVrCustomImageControl.h"
#include "TVrGraphicImageControl.h"
#include "TVrResources.h"
#include "Vrsysutils.h"
#include "WidgetTestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A windowed image control that draws a red square on its colour.
class Square : public TVrCustomImageControl {
public:
    using TVrCustomImageControl::SetClickEvents;
    using TVrCustomImageControl::SetDoubleClicks;
    explicit Square(QWidget* parent = nullptr) : TVrCustomImageControl(parent) { resize(10, 10); }

protected:
    void Paint(QPainter& Canvas) override {
        ClearBitmapCanvas(Canvas);
        FillRect(Canvas, TRect{2, 2, 5, 5}, clRed);
    }
};

// A windowless image control that only puts one blue pixel over its background.
class Dot : public TVrGraphicImageControl {
public:
    explicit Dot(QWidget* parent = nullptr) : TVrGraphicImageControl(parent) { setGeometry(5, 5, 6, 6); }

protected:
    void Paint(QPainter& Canvas) override {
        ClearBitmapCanvas(Canvas);
        FillRect(Canvas, TRect{0, 0, 1, 1}, clBlue);
    }
};

TEST(VrControl, RepaintsAtOnceUnlessBracketedOrLoading) {
    Square w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    PaintCounter paints(&w);
    w.UpdateControlCanvas();
    EXPECT_EQ(paints.count, 1) << "no event loop ran: the repaint is synchronous";

    w.BeginUpdate();
    w.UpdateControlCanvas();
    w.UpdateControlCanvas();
    EXPECT_EQ(paints.count, 1);
    w.EndUpdate();
    EXPECT_EQ(paints.count, 2);

    w.EndUpdate(); // unmatched
    EXPECT_EQ(w.UpdateCount(), 0);
    EXPECT_EQ(paints.count, 3);
    w.UpdateControlCanvas();
    EXPECT_EQ(paints.count, 4);

    w.BeginLoading();
    w.UpdateControlCanvas();
    EXPECT_EQ(paints.count, 4);
    w.EndLoading();
    EXPECT_EQ(paints.count, 5);
    EXPECT_EQ(VrControl::Version(), "1.3");
}

TEST(VrControl, RendersThroughTheBackBuffer) {
    Square w;
    w.SetColor(clYellow);
    const QImage image = w.RenderImage();
    EXPECT_EQ(Px(image, 0, 0), clYellow);
    EXPECT_EQ(Px(image, 3, 3), clRed);
    EXPECT_EQ(w.GetBitmapCanvas().size(), QSize(10, 10));
    EXPECT_EQ(Px(w.GetBitmapCanvas(), 2, 2), clRed);
}

TEST(VrControl, ParentColourFollowsTheParent) {
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(10, 20, 30));
    parent.setPalette(pal);
    Square w(&parent);
    w.SetParentColor(true);
    EXPECT_EQ(Px(w.RenderImage(), 0, 0), RGB(10, 20, 30));
    w.SetColor(clAqua);
    EXPECT_FALSE(w.ParentColor());
    EXPECT_EQ(Px(w.RenderImage(), 0, 0), clAqua);
}

TEST(VrControl, ClickNeedsPressAndReleaseInside) {
    Square w;
    QSignalSpy clicks(&w, &VrControl::OnClick);
    QSignalSpy downs(&w, &VrControl::OnMouseDown);
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<QObject*>(), &w);
    EXPECT_EQ(downs.at(0).at(3).toInt(), 3);

    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(30, 3));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.count(), 1);

    w.SetClickEvents(false);
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(VrControl, DoubleClickStyle) {
    Square w;
    QSignalSpy downs(&w, &VrControl::OnMouseDown);
    QSignalSpy doubles(&w, &VrControl::OnDblClick);
    QSignalSpy clicks(&w, &VrControl::OnClick);
    DoubleClick(&w, QPoint(3, 3));
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(downs.count(), 2);
    EXPECT_EQ(clicks.count(), 1) << "the double-click press starts no click";

    w.SetDoubleClicks(false);
    DoubleClick(&w, QPoint(3, 3));
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(downs.count(), 4);
    EXPECT_EQ(clicks.count(), 3) << "the second press arrives as an ordinary press";
}

TEST(VrControl, EnterAndLeaveFollowThePointerWhileAButtonIsHeld) {
    Square w;
    QSignalSpy enters(&w, &VrControl::OnMouseEnter);
    QSignalSpy leaves(&w, &VrControl::OnMouseLeave);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), w.mapToGlobal(QPointF(3, 3)));
    QApplication::sendEvent(&w, &enter);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(enters.count(), 1);
    QMouseEvent out(QEvent::MouseMove, QPointF(40, 3), w.mapToGlobal(QPointF(40, 3)), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &out);
    QMouseEvent back(QEvent::MouseMove, QPointF(4, 4), w.mapToGlobal(QPointF(4, 4)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &back);
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(enters.count(), 2);
    EXPECT_EQ(leaves.count(), 1);
}

TEST(TVrGraphicImageControl, TransparentStartsFromTheParentPicture) {
    QWidget parent;
    parent.resize(20, 20);
    FillBackground(parent, QColor(0, 128, 128));
    Dot dot(&parent);
    dot.SetColor(clYellow);
    EXPECT_EQ(Px(dot.RenderImage(), 3, 3), clYellow);

    dot.SetTransparent(true);
    QImage image = dot.RenderImage();
    EXPECT_EQ(Px(image, 3, 3), clTeal);
    EXPECT_EQ(Px(image, 0, 0), clBlue);
    EXPECT_EQ(dot.ParentImage().size(), QSize(6, 6));
}

TEST(TVrCursors, HandPointIsNumberNinetyNineWithTheHotSpotAtTheFingertip) {
    const QCursor hand = TVrCursors::Cursor(crVrHandPoint);
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.hotSpot(), QPoint(6, 0));
    const QImage image = TVrCursors::HandPointImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.pixelColor(6, 0), QColor(Qt::black)) << "the fingertip";
    EXPECT_EQ(image.pixelColor(6, 1).rgb(), QColor(Qt::white).rgb());
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(TVrCursors::Cursor(12345).shape(), Qt::ArrowCursor);
}

TEST(TVrResources, TrackBarThumbs) {
    struct Case {
        const char* name;
        int w, h;
    };
    for (const Case& c : {Case{"VRTB_HORI", 9, 17}, Case{"VRTB_VERT", 17, 9}}) {
        const QImage thumb = TVrResources::Bitmap(c.name);
        ASSERT_EQ(thumb.size(), QSize(c.w, c.h)) << c.name;
        EXPECT_EQ(Px(thumb, 0, 0), clBlack);
        EXPECT_EQ(Px(thumb, c.w - 1, c.h - 1), clBlack);
        EXPECT_EQ(Px(thumb, 1, 1), clWhite);
        EXPECT_EQ(Px(thumb, 1, c.h - 3), clWhite);
        EXPECT_EQ(Px(thumb, c.w - 2, c.h - 2), RGB(128, 128, 128));
        EXPECT_EQ(Px(thumb, c.w - 2, 2), RGB(128, 128, 128));
        EXPECT_EQ(Px(thumb, c.w / 2, c.h / 2), RGB(192, 192, 192));
    }
    EXPECT_TRUE(TVrResources::Bitmap("NO_SUCH_BITMAP").isNull());
}

} // namespace
