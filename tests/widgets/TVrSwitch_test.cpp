#include "TVrBitmapList.h"
#include "TVrSwitch.h"
#include "VrCursorClip.h"
#include "WidgetTestSupport.h"

#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr TColor kKnob = RGB(192, 192, 192);
constexpr TColor kDarkGrey = RGB(128, 128, 128);

// The DIO page's direction switch: two stops, vertical, 29 x 26.
void DioLook(TVrSwitch& s) {
    s.SetPositions(2);
    s.resize(29, 26);
}

// A frame strip of four solid colours, each 10 x 6 (width 40 for four states).
QImage FourFrames() {
    QImage img(40, 6, QImage::Format_ARGB32);
    const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int f = 0; f < 4; ++f)
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x)
                img.setPixelColor(f * 10 + x, y, colors[f]);
    return img;
}

void SendFocus(QWidget* w, QEvent::Type type) {
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(w, &event);
}

} // namespace

TEST(TVrSwitch, DioSwitchPlacesItsThumb) {
    TVrSwitch s;
    DioLook(s);
    EXPECT_EQ(s.size(), QSize(29, 26));
    EXPECT_EQ(s.ThumbSize(), QSize(24, 12));
    EXPECT_EQ(s.ThumbRect(), QRect(2, 12, 24, 12)) << "stop 0 at the bottom";
    QImage img = s.RenderImage();
    EXPECT_EQ(Px(img, 2, 12), clBlack) << "thumb border";
    EXPECT_EQ(Px(img, 3, 13), clWhite) << "thumb highlight";
    EXPECT_EQ(Px(img, 24, 22), kDarkGrey) << "thumb shadow";
    EXPECT_EQ(Px(img, 4, 15), kKnob);
    EXPECT_EQ(Px(img, 10, 17), clBlack) << "groove core";

    s.SetOffset(1);
    EXPECT_EQ(s.ThumbRect(), QRect(2, 2, 24, 12));
    img = s.RenderImage();
    EXPECT_EQ(Px(img, 2, 2), clBlack);
    EXPECT_EQ(Px(img, 4, 5), kKnob);
    // Border (button face), then the raised outer bevel's highlight.
    EXPECT_EQ(Px(img, 0, 0), Resolved(clBtnFace));
    EXPECT_EQ(Px(img, 1, 1), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(img, 14, 20), clBlack) << "the track shows the switch's colour";
}

TEST(TVrSwitch, OffsetIsClampedAndEveryChangeIsAnnounced) {
    TVrSwitch s;
    QSignalSpy changes(&s, &TVrSwitch::OnChange);
    s.SetOffset(5);
    EXPECT_EQ(s.Offset(), 3);
    EXPECT_EQ(changes.count(), 1) << "the program's change fires OnChange like the user's";
    s.SetOffset(3);
    s.SetOffset(7);
    EXPECT_EQ(changes.count(), 1) << "the current value changes nothing";
    s.SetOffset(-2);
    EXPECT_EQ(s.Offset(), 0);
    EXPECT_EQ(changes.count(), 2);

    s.SetOffset(3);
    s.SetPositions(2);
    EXPECT_EQ(s.Offset(), 3) << "fewer stops do not move the offset ...";
    s.SetOffset(3);
    EXPECT_EQ(s.Offset(), 1) << "... until it is next set";
}

TEST(TVrSwitch, FitsItsSizeToStopsAndOrientation) {
    TVrSwitch s;
    EXPECT_EQ(s.size(), QSize(29, 4 * 12 + 2));
    s.SetBorderWidth(3);
    EXPECT_EQ(s.size(), QSize(30, 4 * 12 + 6));
    s.SetBorderWidth(-1);
    EXPECT_EQ(s.BorderWidth(), 3);
    s.SetOrientation(voHorizontal);
    EXPECT_EQ(s.ThumbSize(), QSize(12, 24));
    EXPECT_EQ(s.size(), QSize(4 * 12 + 6, 30));
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    s.resize(200, 40);
    EXPECT_EQ(s.size(), QSize(54, 40)) << "a size change is fitted again";
    EXPECT_EQ(s.ThumbRect().top(), (40 - 24) / 2);
}

TEST(TVrSwitch, ClickBesideTheThumbJumpsToTheNearestStop) {
    TVrSwitch s;
    DioLook(s);
    s.SetOffset(1);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    QSignalSpy changes(&s, &TVrSwitch::OnChange);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(14, 22));
    EXPECT_EQ(s.Offset(), 0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(s.Dragging());

    EXPECT_FALSE(s.hasFocus()) << "TabStop is off by default";
    s.SetTabStop(true);
    QApplication::setActiveWindow(&s);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(14, 5));
    EXPECT_TRUE(s.hasFocus()) << "with TabStop a click takes the focus";
    EXPECT_EQ(s.Offset(), 1);

    s.SetOptions(TVrSwitchOptions(soMouseClip | soHandPoint | soThumbOpaque));
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(14, 22));
    EXPECT_EQ(s.Offset(), 1) << "without active click, a click beside the thumb does nothing";
}

TEST(TVrSwitch, DragMovesStopByStopWithThePointerConfined) {
    TVrSwitch s;
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    // Four stops, height 50: the thumb tops are 36, 25, 13, 2 (travel 34).
    ASSERT_EQ(s.ThumbRect().top(), 36);
    QSignalSpy changes(&s, &TVrSwitch::OnChange);
    QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(12, 40)); // 4 below the thumb's top
    EXPECT_TRUE(s.Dragging());
    EXPECT_TRUE(VrCursorClip::IsConfined(&s));
    QTest::mouseMove(&s, QPoint(12, 30)); // thumb top 26: stop 1
    EXPECT_EQ(s.Offset(), 1);
    QTest::mouseMove(&s, QPoint(12, 5)); // thumb top 1, clamped to 2: stop 3
    EXPECT_EQ(s.Offset(), 3);
    QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(12, 5));
    EXPECT_FALSE(s.Dragging());
    EXPECT_FALSE(VrCursorClip::IsConfined(&s));
    EXPECT_EQ(changes.count(), 2);
}

TEST(TVrSwitch, HandCursorOverTheThumbOnly) {
    TVrSwitch s;
    DioLook(s);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    QTest::mouseMove(&s, QPoint(14, 18));
    EXPECT_TRUE(s.Hovering());
    EXPECT_EQ(s.cursor().shape(), Qt::BitmapCursor);
    QTest::mouseMove(&s, QPoint(14, 5));
    EXPECT_FALSE(s.Hovering());
    EXPECT_NE(s.cursor().shape(), Qt::BitmapCursor);
}

TEST(TVrSwitch, ArrowKeysFollowOrientationAndStyle) {
    const struct {
        TVrOrientation orientation;
        TVrProgressStyle style;
        Qt::Key key;
        int from, to;
    } cases[] = {
        {voVertical, psBottomLeft, Qt::Key_Up, 1, 2},      {voVertical, psBottomLeft, Qt::Key_Down, 1, 0},
        {voVertical, psTopRight, Qt::Key_Up, 1, 0},        {voVertical, psTopRight, Qt::Key_Down, 1, 2},
        {voHorizontal, psBottomLeft, Qt::Key_Right, 1, 2}, {voHorizontal, psTopRight, Qt::Key_Right, 1, 0},
        {voHorizontal, psBottomLeft, Qt::Key_Up, 1, 1},    {voVertical, psBottomLeft, Qt::Key_Left, 1, 1},
        {voVertical, psBottomLeft, Qt::Key_Home, 2, 0},    {voVertical, psTopRight, Qt::Key_End, 0, 3},
        {voVertical, psBottomLeft, Qt::Key_Down, 0, 0},
    };
    for (const auto& c : cases) {
        TVrSwitch s;
        s.SetOrientation(c.orientation);
        s.SetStyle(c.style);
        s.SetOffset(c.from);
        QSignalSpy keys(&s, &TVrSwitch::OnKeyDown);
        QTest::keyClick(&s, c.key);
        EXPECT_EQ(s.Offset(), c.to) << c.orientation << c.style << c.key;
        EXPECT_EQ(keys.count(), 1) << "OnKeyDown follows in every case";
    }
    TVrSwitch s;
    s.SetOffset(1);
    QTest::keyClick(&s, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(s.Offset(), 1) << "a held modifier disables the keys";
}

TEST(TVrSwitch, SpaceMovesToTheNextStopOnItsReleaseAndFromTheLastToTheFirst) {
    TVrSwitch s;
    s.SetPositions(2);
    QSignalSpy changes(&s, &TVrSwitch::OnChange);
    QTest::keyPress(&s, Qt::Key_Space);
    EXPECT_EQ(s.Offset(), 0);
    QTest::keyRelease(&s, Qt::Key_Space);
    EXPECT_EQ(s.Offset(), 1);
    QTest::keyClick(&s, Qt::Key_Space);
    EXPECT_EQ(s.Offset(), 0);
    EXPECT_EQ(changes.count(), 2);
    QTest::keyClick(&s, Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(s.Offset(), 0) << "a held modifier disables the key";
}

TEST(TVrSwitch, FocusedBorderAndDisabledFrame) {
    TVrSwitch s;
    DioLook(s);
    EXPECT_EQ(Px(s.RenderImage(), 0, 10), Resolved(clBtnFace));
    SendFocus(&s, QEvent::FocusIn);
    EXPECT_TRUE(s.Focused());
    EXPECT_EQ(Px(s.RenderImage(), 0, 10), Resolved(clBtnFace))
        << "focus the keyboard did not bring is not drawn";
    s.setAttribute(Qt::WA_KeyboardFocusChange); // the window's focus moved by Tab
    EXPECT_EQ(Px(s.RenderImage(), 0, 10), clBlue);
    SendFocus(&s, QEvent::FocusOut);
    EXPECT_EQ(Px(s.RenderImage(), 28, 10), Resolved(clBtnFace));

    // One frame: disabled looks like enabled.
    const QImage enabled = s.RenderImage();
    s.setEnabled(false);
    EXPECT_EQ(s.RenderImage(), enabled);
}

TEST(TVrSwitch, ThumbFramesFromABitmapList) {
    TVrBitmapList list;
    list.Add(FourFrames());
    TVrSwitch s;
    s.SetBitmapList(&list);
    s.SetThumbImageIndex(0);
    s.SetThumbStates(4);
    EXPECT_EQ(s.ThumbSize(), QSize(10, 6));
    s.SetPositions(2);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    const QRect thumb = s.ThumbRect();
    const QPoint inThumb = thumb.center();
    EXPECT_EQ(s.RenderImage().pixelColor(inThumb), QColor(Qt::red)) << "normal";
    QTest::mouseMove(&s, inThumb);
    EXPECT_EQ(s.RenderImage().pixelColor(inThumb), QColor(Qt::yellow)) << "hovered";
    QTest::mousePress(&s, Qt::LeftButton, {}, inThumb);
    EXPECT_EQ(s.RenderImage().pixelColor(inThumb), QColor(Qt::blue)) << "dragged";
    QTest::mouseRelease(&s, Qt::LeftButton, {}, inThumb);
    s.setEnabled(false);
    EXPECT_EQ(s.RenderImage().pixelColor(inThumb), QColor(Qt::green)) << "disabled";
    s.setEnabled(true);

    // A list that goes away leaves the built-in thumb.
    s.SetThumbStates(1);
    list.SetBitmap(0, QImage());
    EXPECT_EQ(s.ThumbSize(), QSize(24, 12));
}

TEST(TVrSwitch, DeletedBitmapListIsDropped) {
    auto* list = new TVrBitmapList;
    list->Add(FourFrames());
    TVrSwitch s;
    s.SetBitmapList(list);
    s.SetThumbImageIndex(0);
    EXPECT_EQ(s.ThumbSize(), QSize(40, 6));
    delete list;
    EXPECT_EQ(s.BitmapList(), nullptr);
    EXPECT_EQ(s.ThumbSize(), QSize(24, 12));
    s.RenderImage();
}

TEST(TVrSwitch, ThumbWithoutOpaqueLeavesItsTransparentColourOut) {
    TVrSwitch s;
    DioLook(s);
    s.SetColor(clRed);
    EXPECT_EQ(Px(s.RenderImage(), 10, 17), clBlack) << "groove core";
    s.SetOptions(TVrSwitchOptions(soActiveClick | soMouseClip | soHandPoint));
    const QImage img = s.RenderImage();
    EXPECT_EQ(Px(img, 10, 17), clRed) << "black, the bottom-left pixel's colour, is left out";
    EXPECT_EQ(Px(img, 2, 12), Resolved(clBtnShadow)) << "the bevel under the thumb's border shows";
    EXPECT_EQ(Px(img, 3, 13), clWhite);
}
