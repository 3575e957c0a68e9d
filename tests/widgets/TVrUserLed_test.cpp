#include "TVrUserLed.h"
#include "WidgetTestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr TColor kDark = RGB(0, 64, 0);
constexpr TColor kLit = RGB(0, 191, 0);

// The bevel and colours the main window gives its lamps.
void MainWindowLook(TVrUserLed& led) {
    led.Bevel()->SetOuterOutline(osOuter);
    led.Bevel()->SetOuterStyle(bsNone);
    led.Bevel()->SetInnerStyle(bsNone);
    led.Bevel()->SetInnerSpace(1);
    led.Bevel()->SetInnerColor(clBtnFace);
    led.PaletteEx()->SetLow1(kDark);
    led.PaletteEx()->SetLow2(kDark);
    led.PaletteEx()->SetHigh1(kLit);
    led.PaletteEx()->SetHigh2(kLit);
}

TEST(TVrUserLed, Defaults) {
    TVrUserLed led;
    EXPECT_EQ(led.size(), QSize(20, 10));
    EXPECT_FALSE(led.Active());
    EXPECT_EQ(led.OutlineWidth(), 0);
    EXPECT_EQ(led.DrawStyle(), dsNormal);
    EXPECT_EQ(led.Bevel()->InnerStyle(), bsNone);
    EXPECT_EQ(led.Bevel()->InnerHighlight(), clLime);
    EXPECT_EQ(led.Bevel()->InnerShadow(), clGreen);
    EXPECT_EQ(led.PaletteEx()->Low1(), clMaroon);
    EXPECT_EQ(led.PaletteEx()->High1(), clRed);
    EXPECT_EQ(led.focusPolicy(), Qt::NoFocus);
}

TEST(TVrUserLed, MainWindowBevelLeavesTheInteriorInsideTwoRings) {
    struct Case {
        int w, h;
    };
    for (const Case c : {Case{29, 29}, Case{29, 15}}) {
        TVrUserLed led;
        led.resize(c.w, c.h);
        MainWindowLook(led);
        for (bool active : {false, true}) {
            led.SetActive(active);
            const QImage image = led.RenderImage();
            const QRect interior(2, 2, c.w - 4, c.h - 4);
            EXPECT_TRUE(AllPixels(image, interior, active ? kLit : kDark)) << c.w << "x" << c.h;
            EXPECT_TRUE(AllPixels(image, QRect(0, 0, c.w, 1), clBlack));
            EXPECT_TRUE(AllPixels(image, QRect(0, c.h - 1, c.w, 1), clBlack));
            EXPECT_TRUE(AllPixels(image, QRect(c.w - 1, 0, 1, c.h), clBlack));
            EXPECT_TRUE(AllPixels(image, QRect(1, 1, c.w - 2, 1), clBtnFace));
            EXPECT_TRUE(AllPixels(image, QRect(1, c.h - 2, c.w - 2, 1), clBtnFace));
            EXPECT_TRUE(AllPixels(image, QRect(1, 1, 1, c.h - 2), clBtnFace));
        }
    }
    TVrUserLed led;
    led.resize(29, 29);
    MainWindowLook(led);
    TRect area{0, 0, 29, 29};
    led.Bevel()->GetVisibleArea(area);
    EXPECT_EQ(area.Width(), 25);
}

TEST(TVrUserLed, GradientRowsRunFromTheTopColourTowardTheBottomColour) {
    TVrUserLed led;
    led.resize(4, 3);
    led.Bevel()->SetVisible(false);
    led.PaletteEx()->SetLow1(clBlack);
    led.PaletteEx()->SetLow2(clWhite);
    const QImage image = led.RenderImage();
    EXPECT_TRUE(AllPixels(image, QRect(0, 0, 4, 1), RGB(0, 0, 0)));
    EXPECT_TRUE(AllPixels(image, QRect(0, 1, 4, 1), RGB(85, 85, 85)));
    EXPECT_TRUE(AllPixels(image, QRect(0, 2, 4, 1), RGB(170, 170, 170)));
}

TEST(TVrUserLed, OutlineShrinksTheBevelRectangle) {
    TVrUserLed led;
    led.SetOutlineWidth(2);
    led.SetOutlineColor(clRed);
    const QImage image = led.RenderImage();
    EXPECT_EQ(Px(image, 0, 0), clRed);
    EXPECT_EQ(Px(image, 1, 8), clRed);
    EXPECT_EQ(Px(image, 19, 9), clRed);
    // The bevel's black outline is the border of the remaining 16 by 6 rectangle.
    EXPECT_TRUE(AllPixels(image, QRect(2, 2, 16, 1), clBlack));
    EXPECT_TRUE(AllPixels(image, QRect(2, 7, 16, 1), clBlack));
    EXPECT_TRUE(AllPixels(image, QRect(17, 2, 1, 6), clBlack));
    EXPECT_EQ(Px(image, 3, 3), Resolved(clBtnHighlight));
}

TEST(TVrUserLed, ActiveRepaintsThenNotifiesAndIgnoresTheCurrentValue) {
    TVrUserLed led;
    led.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&led));
    PaintCounter paints(&led);
    QSignalSpy changes(&led, &TVrUserLed::OnChange);
    int paintsSeenByHandler = -1;
    QObject::connect(&led, &TVrUserLed::OnChange, [&] { paintsSeenByHandler = paints.count; });

    led.SetActive(false);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(paints.count, 0);

    led.SetActive(true);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(paintsSeenByHandler, 1) << "the lamp shows the new state before the event";
    led.SetActive(true);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(paints.count, 1);

    led.BeginUpdate();
    led.SetActive(false);
    led.SetOutlineWidth(1);
    led.PaletteEx()->SetLow1(clBlue);
    EXPECT_EQ(paints.count, 1);
    led.EndUpdate();
    EXPECT_EQ(paints.count, 2);

    TVrBevel bevel;
    bevel.Assign(*led.Bevel());
    led.SetBevel(bevel);
    EXPECT_EQ(paints.count, 3) << "an equal bevel still repaints once";
}

TEST(TVrUserLed, LoadingSetsTheStateSilentlyAndTheFirstPaintShowsIt) {
    TVrUserLed led;
    led.resize(29, 15);
    led.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&led));
    PaintCounter paints(&led);
    QSignalSpy changes(&led, &TVrUserLed::OnChange);
    led.BeginLoading();
    led.SetActive(true);
    EXPECT_EQ(changes.count(), 0) << "loading does not notify";
    EXPECT_EQ(paints.count, 0);
    led.EndLoading();
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(Px(led.RenderImage(), 14, 3), clRed) << "the top row of the lit interior";
    led.SetActive(false);
    EXPECT_EQ(changes.count(), 1) << "after loading it notifies again";
}

TEST(TVrUserLed, DoubleClickIsTwoPresses) {
    TVrUserLed led;
    QSignalSpy downs(&led, &VrControl::OnMouseDown);
    QSignalSpy doubles(&led, &VrControl::OnDblClick);
    DoubleClick(&led, QPoint(5, 5));
    EXPECT_EQ(downs.count(), 2);
    EXPECT_EQ(doubles.count(), 0);
}

TEST(TVrUserLed, OwnerDrawFillsWithTheColourAndHandsOverTheCanvas) {
    TVrUserLed led;
    led.SetColor(clYellow);
    led.SetDrawStyle(dsOwnerDraw);
    QRect seen;
    QObject::connect(&led, &TVrUserLed::OnDraw, [&](QObject* sender, QPainter* canvas, QRect rect) {
        EXPECT_EQ(sender, &led);
        seen = rect;
        canvas->fillRect(QRect(0, 0, 1, 1), Qt::blue);
    });
    const QImage image = led.RenderImage();
    EXPECT_EQ(seen, QRect(0, 0, 20, 10));
    EXPECT_EQ(Px(image, 0, 0), clBlue);
    EXPECT_EQ(Px(image, 10, 5), clYellow);
}

} // namespace

// An LED the application lets the keyboard reach draws the platform's focus frame, once Tab brought
// the focus; focus given otherwise (the window's first, or the program's) draws nothing.
TEST(TVrUserLed, ShowsThePlatformsFocusFrameOnlyWhenTheKeyboardBroughtTheFocus) {
    QWidget window;
    auto* first = new TVrUserLed(&window);
    auto* second = new TVrUserLed(&window);
    for (TVrUserLed* led : {first, second}) {
        led->resize(29, 15);
        MainWindowLook(*led);
        led->setFocusPolicy(Qt::TabFocus);
    }
    second->move(0, 20);
    const QImage idle = second->RenderImage();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    second->setFocus();
    ASSERT_TRUE(second->Focused());
    EXPECT_EQ(second->RenderImage(), idle);

    QTest::keyClick(second, Qt::Key_Tab);
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_TRUE(second->FocusShown());
    const QImage focused = second->RenderImage();
    EXPECT_NE(focused, idle);
    EXPECT_EQ(focused, WithFocusFrame(idle, *second, QRect(1, 1, 27, 13), second->ResolvedColor()));
}
