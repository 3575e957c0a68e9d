#include "TVrBitmapList.h"
#include "TVrTrackBar.h"
#include "WidgetTestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The main window's address track bar.
void AddressBar(TVrTrackBar& bar) {
    bar.resize(465, 45);
    bar.SetBorderWidth(5);
    bar.SetMaxValue(255);
}

std::vector<int> Values(const std::vector<VrTrackBarGeometry::Tick>& ticks) {
    std::vector<int> v;
    for (const auto& t : ticks)
        v.push_back(t.Value);
    return v;
}

std::vector<int> Steps(int from, int to, int step, int last) {
    std::vector<int> v;
    for (int x = from; x <= to; x += step)
        v.push_back(x);
    v.push_back(last);
    return v;
}

TEST(TVrTrackBar, Defaults) {
    TVrTrackBar bar;
    EXPECT_EQ(bar.size(), QSize(175, 45));
    EXPECT_EQ(bar.MaxValue(), 100);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.Options(), toActiveClick | toMouseClip | toHandPoint | toThumbOpaque);
    EXPECT_EQ(bar.Frequency(), 10);
    EXPECT_EQ(bar.BorderWidth(), 10);
    EXPECT_EQ(bar.GutterWidth(), 9);
    EXPECT_EQ(bar.TickMarks(), tmBoth);
    EXPECT_FALSE(bar.TabStop());
    EXPECT_TRUE(bar.ParentColor());
    EXPECT_EQ(bar.GutterBevel()->OuterStyle(), bsLowered);
    EXPECT_EQ(bar.GutterBevel()->OuterOutline(), osNone);
    EXPECT_EQ(bar.GutterBevel()->InnerStyle(), bsNone);
    EXPECT_EQ(bar.GutterBevel()->Thickness(), 1);
    EXPECT_EQ(bar.ThumbRect().size(), QSize(9, 17));
}

TEST(TVrTrackBarGeometry, AddressBarThumbAndScale) {
    TVrTrackBar bar;
    AddressBar(bar);
    const VrTrackBarGeometry g = bar.Geometry();
    EXPECT_EQ(g.Start(), 5);
    EXPECT_EQ(g.Travel(), 446);
    EXPECT_EQ(g.PositionOf(0), 5);
    EXPECT_EQ(g.PositionOf(255), 451);
    EXPECT_EQ(g.PositionOf(128), 229);

    const auto ticks = g.Ticks();
    ASSERT_EQ(ticks.size(), 27u);
    EXPECT_EQ(Values(ticks), Steps(0, 250, 10, 255));
    for (const auto& t : ticks) {
        EXPECT_EQ(t.Pos, g.PositionOf(t.Value) + 4);
        EXPECT_EQ(t.AtEnd, t.Value == 0 || t.Value == 255);
    }
}

TEST(TVrTrackBarGeometry, NewAddressBarHasTwentySixTicks) {
    TVrTrackBar bar;
    bar.resize(441, 45);
    bar.SetMaxValue(255);
    bar.SetMinValue(1);
    const VrTrackBarGeometry g = bar.Geometry();
    EXPECT_EQ(g.Travel(), 412);
    const auto ticks = g.Ticks();
    ASSERT_EQ(ticks.size(), 26u);
    EXPECT_EQ(Values(ticks), Steps(1, 241, 10, 255));
}

TEST(TVrTrackBarGeometry, ScaleThinsOutUntilTicksAreFourPixelsApart) {
    VrTrackBarGeometry g;
    g.ClientWidth = 120; // travel 91
    g.MaxValue = 255;
    g.Frequency = 5;
    // Steps 5, 10, 15 give spacings 1, 3, 5 pixels: the scale uses step 15.
    const auto ticks = g.Ticks();
    EXPECT_EQ(Values(ticks), Steps(0, 240, 15, 255));
    g.MaxValue = g.MinValue;
    EXPECT_EQ(g.Ticks().size(), 1u);
    g.Frequency = 0; // the caller's error: no hang, no division by zero
    g.MaxValue = 100;
    EXPECT_FALSE(g.Ticks().empty());
}

TEST(TVrTrackBarGeometry, PixelsToValuesBothWaysAndMirrored) {
    struct Case {
        bool horizontal;
        TVrProgressStyle style;
        int value;
        int pos;
    };
    // 175 by 45 horizontal and 45 by 175 vertical, 0..100: travel 146 either way.
    const Case cases[] = {
        {true, psBottomLeft, 0, 10},    {true, psBottomLeft, 100, 156}, {true, psBottomLeft, 50, 83},
        {true, psTopRight, 0, 156},     {true, psTopRight, 100, 10},    {false, psBottomLeft, 0, 156},
        {false, psBottomLeft, 100, 10}, {false, psTopRight, 0, 10},     {false, psTopRight, 100, 156},
    };
    for (const Case& c : cases) {
        VrTrackBarGeometry g;
        g.Horizontal = c.horizontal;
        g.Style = c.style;
        if (!c.horizontal) {
            std::swap(g.ClientWidth, g.ClientHeight);
            std::swap(g.ThumbWidth, g.ThumbHeight);
        }
        EXPECT_EQ(g.PositionOf(c.value), c.pos) << c.horizontal << c.style << c.value;
        EXPECT_EQ(g.ValueForMove(c.pos), c.value) << c.horizontal << c.style << c.value;
    }
    VrTrackBarGeometry g;
    EXPECT_EQ(g.ValueForMove(-50), 0);
    EXPECT_EQ(g.ValueForMove(500), 100);
}

TEST(TVrTrackBar, AddressBarPixels) {
    TVrTrackBar bar;
    AddressBar(bar);
    bar.SetColor(clWhite);
    bar.SetPosition(255);
    QImage image = bar.RenderImage();
    // Thumb at 451..459, rows 14..30.
    EXPECT_EQ(Px(image, 451, 14), clBlack);
    EXPECT_EQ(Px(image, 452, 15), clWhite);
    EXPECT_EQ(Px(image, 455, 22), RGB(192, 192, 192));
    EXPECT_EQ(Px(image, 458, 29), RGB(128, 128, 128));
    EXPECT_EQ(Px(image, 459, 30), clBlack);
    EXPECT_EQ(Px(image, 450, 22), clBlack) << "gutter fill left of the thumb";

    // Scales: 27 ticks above (baseline 13) and below (baseline 32); the end ticks are one longer.
    auto count = [&](int row) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x)
            n += Px(image, x, row) == clBlack;
        return n;
    };
    EXPECT_EQ(count(12), 27);
    EXPECT_EQ(count(10), 27);
    EXPECT_EQ(count(9), 2);
    EXPECT_EQ(count(13), 0);
    EXPECT_EQ(count(8), 0);
    EXPECT_EQ(count(32), 27);
    EXPECT_EQ(count(34), 27);
    EXPECT_EQ(count(35), 2);
    EXPECT_EQ(count(36), 0);
    EXPECT_EQ(Px(image, 9, 9), clBlack);
    EXPECT_EQ(Px(image, 455, 35), clBlack);
    EXPECT_EQ(Px(image, 236, 12), clBlack) << "tick of 130 at its thumb centre";
    EXPECT_EQ(Px(image, 236, 9), clWhite);

    bar.SetPosition(128);
    image = bar.RenderImage();
    EXPECT_EQ(Px(image, 229, 14), clBlack);
    EXPECT_EQ(Px(image, 230, 15), clWhite);
    EXPECT_EQ(Px(image, 228, 18), Resolved(clBtnShadow)) << "gutter bevel";
    EXPECT_EQ(Px(image, 228, 26), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(image, 228, 22), clBlack);
}

TEST(TVrTrackBar, InvisibleGutterBevelDrawsNoGutter) {
    TVrTrackBar bar;
    bar.SetColor(clWhite);
    bar.GutterBevel()->SetVisible(false);
    const QImage image = bar.RenderImage();
    EXPECT_TRUE(AllPixels(image, QRect(30, 18, 130, 9), clWhite));
    EXPECT_EQ(Px(image, 14, 12), clBlack) << "scales stay";
    EXPECT_EQ(Px(image, 10, 14), clBlack) << "thumb stays";
}

TEST(TVrTrackBar, FocusRectangle) {
    TVrTrackBar bar;
    bar.SetColor(clWhite);
    bar.SetFocusColor(clRed);
    bar.SetFocusOffset(2);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    bar.activateWindow();
    bar.setAttribute(Qt::WA_KeyboardFocusChange); // the keyboard moves the focus in this window
    bar.setFocus();
    ASSERT_TRUE(bar.Focused());
    QImage image = bar.RenderImage();
    EXPECT_EQ(Px(image, 2, 2), clRed);
    EXPECT_EQ(Px(image, 172, 42), clRed);
    EXPECT_EQ(Px(image, 1, 1), clWhite);
    bar.SetFocusOffset(-1);
    image = bar.RenderImage();
    EXPECT_EQ(Px(image, 2, 2), clWhite);
}

TEST(TVrTrackBar, PositionClampsAndNotifiesOnlyOnChange) {
    TVrTrackBar bar;
    bar.SetMaxValue(255);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    PaintCounter paints(&bar);
    QSignalSpy changes(&bar, &TVrTrackBar::OnChange);
    bar.SetPosition(300);
    EXPECT_EQ(bar.Position(), 255);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(paints.count, 1);
    bar.SetPosition(255);
    bar.SetMaxValue(255);
    bar.SetFrequency(10);
    bar.GutterBevel()->SetOuterStyle(bsLowered);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(paints.count, 1);
    bar.SetPosition(-4);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(changes.count(), 2);
}

TEST(TVrTrackBar, RangeChangesPullThePositionAlong) {
    TVrTrackBar bar;
    bar.SetMaxValue(255);
    bar.SetPosition(200);
    QSignalSpy changes(&bar, &TVrTrackBar::OnChange);
    bar.SetMaxValue(100);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(changes.count(), 1);
    bar.SetMinValue(150);
    EXPECT_EQ(bar.Position(), 100) << "with MinValue above MaxValue the position is MaxValue";
    bar.SetPosition(120);
    EXPECT_EQ(bar.Position(), 100);
    bar.SetMaxValue(300);
    EXPECT_EQ(bar.Position(), 100);
    bar.SetPosition(0);
    EXPECT_EQ(bar.Position(), 150);
}

TEST(TVrTrackBar, Keys) {
    struct Case {
        TVrOrientation orientation;
        TVrProgressStyle style;
        int start;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expected;
    };
    const Case cases[] = {
        {voHorizontal, psBottomLeft, 17, Qt::Key_Home, {}, 255}, // Home goes to the maximum
        {voHorizontal, psBottomLeft, 17, Qt::Key_End, {}, 0},
        {voHorizontal, psBottomLeft, 250, Qt::Key_Right, {}, 255},
        {voHorizontal, psBottomLeft, 5, Qt::Key_Left, {}, 0},
        // The keys the design leaves free: across the track by one, Page Up / Down by Frequency.
        {voHorizontal, psBottomLeft, 50, Qt::Key_Up, {}, 51},
        {voHorizontal, psTopRight, 50, Qt::Key_Down, {}, 49},
        {voHorizontal, psBottomLeft, 250, Qt::Key_PageUp, {}, 255},
        {voHorizontal, psTopRight, 50, Qt::Key_PageDown, {}, 40},
        {voVertical, psBottomLeft, 50, Qt::Key_Left, {}, 49},
        {voHorizontal, psTopRight, 50, Qt::Key_Right, {}, 40},
        {voVertical, psBottomLeft, 50, Qt::Key_Up, {}, 60},
        {voVertical, psBottomLeft, 50, Qt::Key_Down, {}, 40},
        {voVertical, psTopRight, 50, Qt::Key_Up, {}, 40},
        {voVertical, psBottomLeft, 50, Qt::Key_Right, {}, 51},
        {voHorizontal, psBottomLeft, 50, Qt::Key_Right, Qt::ShiftModifier, 50},
        {voHorizontal, psBottomLeft, 50, Qt::Key_Home, Qt::ControlModifier, 50},
    };
    for (const Case& c : cases) {
        TVrTrackBar bar;
        bar.SetMaxValue(255);
        bar.SetOrientation(c.orientation);
        bar.SetStyle(c.style);
        bar.SetPosition(c.start);
        int keys = 0;
        int positionSeenByKeyHandler = -1;
        QObject::connect(&bar, &TVrCustomControl::OnKeyDown, [&](QObject*, int key, Qt::KeyboardModifiers) {
            if (key == c.key) {
                ++keys;
                positionSeenByKeyHandler = bar.Position();
            }
        });
        QTest::keyClick(&bar, c.key, c.modifiers);
        EXPECT_EQ(bar.Position(), c.expected) << c.orientation << c.style << c.key;
        EXPECT_EQ(keys, 1);
        EXPECT_EQ(positionSeenByKeyHandler, c.expected) << "OnKeyDown follows the move";
    }
}

TEST(TVrTrackBar, OrientationSwapsTheSizeAndTheThumb) {
    TVrTrackBar bar;
    bar.SetOrientation(voVertical);
    EXPECT_EQ(bar.size(), QSize(45, 175));
    EXPECT_EQ(bar.ThumbRect(), QRect(14, 156, 17, 9));
    bar.SetPosition(100);
    EXPECT_EQ(bar.ThumbRect(), QRect(14, 10, 17, 9));
}

TEST(TVrTrackBar, DraggingTheThumbSnapsToFixedPoints) {
    TVrTrackBar bar;
    AddressBar(bar);
    bar.SetOptions(bar.Options() | toFixedPoints);
    QSignalSpy changes(&bar, &TVrTrackBar::OnChange);
    const QRect thumb = bar.ThumbRect();
    const QPoint grab(thumb.left() + 3, thumb.top() + 5);
    QTest::mousePress(&bar, Qt::LeftButton, {}, grab);
    EXPECT_TRUE(bar.Dragging());
    EXPECT_EQ(changes.count(), 0);
    const int pixelOf57 = bar.Geometry().PositionOf(57);
    DragTo(&bar, QPoint(pixelOf57 + 3, grab.y()));
    EXPECT_EQ(bar.Position(), 60);
    EXPECT_EQ(bar.ThumbRect().left(), bar.Geometry().PositionOf(60));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(pixelOf57 + 3, grab.y()));
    EXPECT_FALSE(bar.Dragging());
    EXPECT_EQ(bar.Position(), 60);
    EXPECT_EQ(changes.count(), 1);
}

TEST(TVrTrackBar, DraggingWithoutSnappingFollowsThePointer) {
    TVrTrackBar bar;
    AddressBar(bar);
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(6, 20));
    DragTo(&bar, QPoint(bar.Geometry().PositionOf(57) + 1, 20));
    EXPECT_EQ(bar.Position(), 57);
    DragTo(&bar, QPoint(900, 20));
    EXPECT_EQ(bar.Position(), 255);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(900, 20));
}

TEST(TVrTrackBar, ClickBesideTheThumbJumpsAfterOnMouseDown) {
    TVrTrackBar bar;
    AddressBar(bar);
    int positionAtMouseDown = -1;
    QObject::connect(&bar, &VrControl::OnMouseDown, [&] { positionAtMouseDown = bar.Position(); });
    QSignalSpy ups(&bar, &VrControl::OnMouseUp);
    const int centreOf128 = bar.Geometry().PositionOf(128) + 4;
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(centreOf128, 40));
    EXPECT_EQ(positionAtMouseDown, 0);
    EXPECT_EQ(bar.Position(), 128);
    EXPECT_FALSE(bar.Dragging());
    EXPECT_EQ(ups.count(), 1);

    bar.SetOptions(bar.Options() & ~TVrTrackBarOptions(toActiveClick));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(20, 40));
    EXPECT_EQ(bar.Position(), 128);
    QTest::mouseClick(&bar, Qt::RightButton, {}, QPoint(20, 40));
    EXPECT_EQ(bar.Position(), 128);
}

TEST(TVrTrackBar, ThumbFromTheBitmapListAndBackWhenTheListGoes) {
    TVrTrackBar bar;
    auto* list = new TVrBitmapList;
    QImage frames(20, 10, QImage::Format_RGB32);
    frames.fill(Qt::red);
    list->Add(frames);
    bar.SetThumbStates(2);
    bar.SetThumbImageIndex(0);
    bar.SetBitmapList(list);
    EXPECT_EQ(bar.ThumbRect().size(), QSize(10, 10));
    list->SetBitmap(0, QImage(8, 10, QImage::Format_RGB32));
    EXPECT_EQ(bar.ThumbRect().size(), QSize(4, 10)) << "a change of the list reloads";
    delete list;
    EXPECT_EQ(bar.BitmapList(), nullptr);
    EXPECT_EQ(bar.ThumbRect().size(), QSize(4, 17)) << "the built-in image in two frames";
}

TEST(TVrTrackBar, HoverAndHandCursorOverTheThumb) {
    TVrTrackBar bar;
    QMouseEvent over(QEvent::MouseMove, QPointF(12, 20), bar.mapToGlobal(QPointF(12, 20)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &over);
    EXPECT_EQ(bar.cursor().shape(), Qt::BitmapCursor);
    QMouseEvent away(QEvent::MouseMove, QPointF(100, 20), bar.mapToGlobal(QPointF(100, 20)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &away);
    EXPECT_EQ(bar.cursor().shape(), Qt::ArrowCursor);
}

} // namespace
