#include "TVrPowerButton.h"
#include "WidgetTestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The connection panel's "Open port" button.
void OpenPortButton(TVrPowerButton& b) {
    b.resize(105, 32);
    // Plain pixels for exact colour checks.
    QFont font("Sans Serif", 8);
    font.setStyleStrategy(QFont::NoAntialias);
    b.setFont(font);
    b.SetCaption("Open port");
}

TEST(TVrPowerButton, Defaults) {
    TVrPowerButton b;
    EXPECT_EQ(b.size(), QSize(125, 25));
    EXPECT_FALSE(b.Active());
    EXPECT_EQ(b.LedWidth(), 12);
    EXPECT_EQ(b.LedHeight(), 12);
    EXPECT_EQ(b.Layout(), ImageLeft);
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_EQ(b.Spacing(), 5);
    EXPECT_EQ(b.Palette()->Low(), clGreen);
    EXPECT_EQ(b.FocusColor(), clBlue);
    EXPECT_EQ(b.OutlineWidth(), 1);
    EXPECT_EQ(b.BevelWidth(), 2);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_FALSE(b.ParentColor());
    EXPECT_FALSE(b.TabStop());
}

TEST(TVrPowerButton, OpenPortLayout) {
    TVrPowerButton b;
    OpenPortButton(b);
    const QRect text =
        QFontMetrics(b.font()).boundingRect(QRect(0, 0, 99, 0), Qt::TextSingleLine, "Open port");
    const QRect lamp = b.LampRect();
    const QRect caption = b.CaptionRect();
    EXPECT_EQ(lamp.size(), QSize(12, 12));
    EXPECT_EQ(lamp.top(), 3 + (26 - 12 + 1) / 2);
    EXPECT_EQ(caption.size(), text.size());
    EXPECT_EQ(caption.left() - (lamp.right() + 1), 5);
    const int leftGap = lamp.left() - 3;
    const int rightGap = 102 - (caption.right() + 1);
    EXPECT_LE(std::abs(leftGap - rightGap), 1) << leftGap << " " << rightGap;

    const QImage image = b.RenderImage();
    const QRect interior = lamp.adjusted(2, 2, -2, -2);
    EXPECT_EQ(interior.size(), QSize(8, 8));
    EXPECT_TRUE(AllPixels(image, interior, clGreen));
    EXPECT_EQ(Px(image, lamp.left() + 1, lamp.top() + 1), clBlack);
    EXPECT_EQ(Px(image, lamp.right() - 1, lamp.bottom() - 1), clBlack);
    EXPECT_EQ(Px(image, lamp.left(), lamp.top()), Resolved(clBtnShadow));
    EXPECT_EQ(Px(image, lamp.right(), lamp.bottom()), Resolved(clBtnHighlight));
    EXPECT_TRUE(AllPixels(image, QRect(lamp.right() + 1, 4, 5, 24), clBtnFace)) << "the 5-pixel gap";
    // Outline, then the raised bevel of width 2 inside it.
    EXPECT_EQ(Px(image, 0, 0), clBlack);
    EXPECT_EQ(Px(image, 104, 31), clBlack);
    EXPECT_EQ(Px(image, 1, 1), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(image, 2, 2), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(image, 103, 30), Resolved(clBtnShadow));
    int ink = 0;
    for (int y = caption.top(); y <= caption.bottom(); ++y)
        for (int x = caption.left(); x <= caption.right(); ++x)
            ink += Px(image, x, y) != Resolved(clBtnFace);
    EXPECT_GT(ink, 20) << "the caption is drawn";
}

TEST(TVrPowerButton, LayoutTable) {
    struct Case {
        TVrImageTextLayout layout;
        int margin, spacing;
        QRect lamp, caption;
    };
    // A 100 by 50 client with a 20 by 10 caption.
    const Case cases[] = {
        {ImageLeft, -1, 5, QRect(32, 19, 12, 12), QRect(49, 20, 20, 10)},
        {ImageRight, -1, 5, QRect(56, 19, 12, 12), QRect(31, 20, 20, 10)},
        {ImageTop, -1, 5, QRect(44, 12, 12, 12), QRect(40, 29, 20, 10)},
        {ImageBottom, -1, 5, QRect(44, 26, 12, 12), QRect(40, 11, 20, 10)},
        {ImageLeft, -1, -1, QRect(22, 19, 12, 12), QRect(56, 20, 20, 10)},
        {ImageLeft, 4, -1, QRect(4, 19, 12, 12), QRect(48, 20, 20, 10)},
        {ImageTop, 0, 2, QRect(44, 0, 12, 12), QRect(40, 14, 20, 10)},
    };
    for (const Case& c : cases) {
        VrButtonLayout::Input in;
        in.Client = TRect{0, 0, 100, 50};
        in.TextWidth = 20;
        in.TextHeight = 10;
        in.Layout = c.layout;
        in.Margin = c.margin;
        in.Spacing = c.spacing;
        const VrButtonLayout out = VrButtonLayout::Compute(in);
        EXPECT_EQ(out.Lamp.ToQRect(), c.lamp) << c.layout << " " << c.margin << " " << c.spacing;
        EXPECT_EQ(out.Caption.ToQRect(), c.caption) << c.layout << " " << c.margin << " " << c.spacing;
    }
    VrButtonLayout::Input empty;
    empty.Client = TRect{3, 3, 103, 29};
    const VrButtonLayout out = VrButtonLayout::Compute(empty);
    EXPECT_EQ(out.Lamp.ToQRect(), QRect(3 + 44, 3 + 7, 12, 12)) << "no caption: no spacing";
}

TEST(TVrPowerButton, ClickSeesTheToggledStateAndComesAfterOnMouseUp) {
    TVrPowerButton b;
    OpenPortButton(b);
    std::vector<std::string> order;
    bool activeSeenByClick = false;
    QObject::connect(&b, &VrControl::OnMouseDown, [&] { order.push_back("down"); });
    QObject::connect(&b, &VrControl::OnMouseUp, [&] { order.push_back("up"); });
    QObject::connect(&b, &VrControl::OnClick, [&](QObject* sender) {
        EXPECT_EQ(sender, &b);
        order.push_back("click");
        activeSeenByClick = b.Active();
    });
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(50, 16));
    EXPECT_TRUE(b.Active());
    EXPECT_TRUE(activeSeenByClick);
    EXPECT_EQ(order, (std::vector<std::string>{"down", "up", "click"}));

    QSignalSpy clicks(&b, &VrControl::OnClick);
    b.SetActive(false);
    b.SetActive(true);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(TVrPowerButton, ReleaseOutsideNeitherTogglesNorClicks) {
    TVrPowerButton b;
    OpenPortButton(b);
    QSignalSpy clicks(&b, &VrControl::OnClick);
    QSignalSpy downs(&b, &VrControl::OnMouseDown);
    QSignalSpy ups(&b, &VrControl::OnMouseUp);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(50, 16));
    EXPECT_TRUE(b.Down());
    DragTo(&b, QPoint(200, 16));
    EXPECT_FALSE(b.Down());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(200, 16));
    EXPECT_FALSE(b.Active());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 1);
}

TEST(TVrPowerButton, DragOutAndBackStillClicks) {
    TVrPowerButton b;
    OpenPortButton(b);
    QSignalSpy clicks(&b, &VrControl::OnClick);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(50, 16));
    DragTo(&b, QPoint(50, 90));
    EXPECT_FALSE(b.Down());
    DragTo(&b, QPoint(60, 10));
    EXPECT_TRUE(b.Down());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_TRUE(b.Active());
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TVrPowerButton, DoubleClickTogglesTwice) {
    TVrPowerButton b;
    QSignalSpy clicks(&b, &VrControl::OnClick);
    QSignalSpy doubles(&b, &VrControl::OnDblClick);
    DoubleClick(&b, QPoint(10, 10));
    EXPECT_FALSE(b.Active());
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(doubles.count(), 0);
}

TEST(TVrPowerButton, RightButtonDoesNotPress) {
    TVrPowerButton b;
    QSignalSpy clicks(&b, &VrControl::OnClick);
    QSignalSpy downs(&b, &VrControl::OnMouseDown);
    QTest::mouseClick(&b, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(b.Active());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(downs.count(), 1);
}

TEST(TVrPowerButton, SpaceToggles) {
    TVrPowerButton b;
    QSignalSpy clicks(&b, &VrControl::OnClick);
    bool downSeenByKeyDown = true;
    QObject::connect(&b, &TVrCustomControl::OnKeyDown, [&] { downSeenByKeyDown = b.Down(); });
    QTest::keyPress(&b, Qt::Key_Space);
    EXPECT_FALSE(downSeenByKeyDown) << "OnKeyDown comes first";
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(b.Active());
    QTest::keyRelease(&b, Qt::Key_Space);
    EXPECT_FALSE(b.Down());
    EXPECT_TRUE(b.Active());
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&b, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TVrPowerButton, PressedAndFocusedDrawing) {
    TVrPowerButton b;
    OpenPortButton(b);
    b.SetOutlineColor(clRed);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(50, 16));
    QImage image = b.RenderImage();
    EXPECT_EQ(Px(image, 0, 0), clRed);
    EXPECT_EQ(Px(image, 104, 31), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(image, 1, 1), Resolved(clBtnShadow));
    EXPECT_EQ(Px(image, 2, 2), Resolved(clBtnShadow));
    EXPECT_EQ(Px(image, 102, 29), clRed);
    const QRect lampWhilePressed = b.LampRect();
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(50, 16));
    EXPECT_EQ(b.LampRect(), lampWhilePressed);
    image = b.RenderImage();
    EXPECT_TRUE(AllPixels(image, b.LampRect().adjusted(2, 2, -2, -2), clLime));

    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    b.activateWindow();
    b.setAttribute(Qt::WA_KeyboardFocusChange); // the keyboard moves the focus in this window
    b.setFocus();
    ASSERT_TRUE(b.Focused());
    image = b.RenderImage();
    EXPECT_EQ(Px(image, 0, 0), clBlue);
}

TEST(TVrPowerButton, DisabledLampTakesTheButtonColourAndTheCaptionIsEmbossed) {
    TVrPowerButton b;
    OpenPortButton(b);
    b.SetActive(true);
    b.setEnabled(false);
    const QImage image = b.RenderImage();
    EXPECT_TRUE(AllPixels(image, b.LampRect().adjusted(2, 2, -2, -2), clBtnFace));
    int light = 0;
    int dark = 0;
    const QRect area = b.CaptionRect().adjusted(0, 0, 1, 1);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            light += Px(image, x, y) == Resolved(clBtnHighlight);
            dark += Px(image, x, y) == Resolved(clBtnShadow);
        }
    EXPECT_GT(light, 5);
    EXPECT_GT(dark, 5);
    b.SetActive(false);
    EXPECT_FALSE(b.Active());
}

TEST(TVrPowerButton, BevelWidthRepaintsButKeepsTheLayoutUntilTheNextTrigger) {
    TVrPowerButton b;
    OpenPortButton(b);
    b.SetSpacing(-1);
    b.SetMargin(0);
    const QRect lamp = b.LampRect();
    EXPECT_EQ(lamp.left(), 3);
    b.SetBevelWidth(4);
    EXPECT_EQ(b.LampRect(), lamp);
    const QImage image = b.RenderImage();
    EXPECT_EQ(Px(image, 4, 5), Resolved(clBtnHighlight)) << "the thicker bevel is drawn";
    b.SetCaption("Close port");
    EXPECT_EQ(b.LampRect().left(), 5);
}

TEST(TVrPowerButton, RepaintsOnlyOnChange) {
    TVrPowerButton b;
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    PaintCounter paints(&b);
    b.SetActive(false);
    b.SetLedWidth(12);
    b.SetFocusColor(clBlue);
    EXPECT_EQ(paints.count, 0);
    b.SetActive(true);
    EXPECT_EQ(paints.count, 1);
    b.Palette()->SetHigh(clYellow);
    EXPECT_EQ(paints.count, 2);
}

TEST(TVrPowerButton, AcceleratorClicksWithoutToggling) {
    QWidget window;
    auto* b = new TVrPowerButton(&window);
    b->SetCaption("&Open port");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(b, &VrControl::OnClick);
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(b->Active());
    b->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
