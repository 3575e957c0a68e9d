#include "TVrBevel.h"
#include "TVrPalette.h"
#include "TVrPaletteEx.h"
#include "TVrTextOutline.h"
#include "WidgetTestSupport.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

TEST(TVrBevel, DefaultIsFourPixelsThickOnEverySide) {
    TVrBevel bevel;
    TRect area{0, 0, 30, 20};
    bevel.GetVisibleArea(area);
    EXPECT_EQ(area, (TRect{4, 4, 26, 16}));

    QImage image = WhiteImage(30, 20);
    QPainter p(&image);
    TRect painted{0, 0, 30, 20};
    bevel.Paint(p, painted);
    p.end();
    EXPECT_EQ(painted, area);
    // Outline, raised outer bevel, lowered inner bevel, one-pixel band, from the edge inwards.
    EXPECT_EQ(Px(image, 0, 5), clBlack);
    EXPECT_EQ(Px(image, 1, 5), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(image, 28, 5), Resolved(clBtnShadow));
    EXPECT_EQ(Px(image, 2, 5), Resolved(clBtnShadow));
    EXPECT_EQ(Px(image, 27, 5), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(image, 3, 5), Resolved(clBtnFace));
    EXPECT_EQ(Px(image, 4, 5), clWhite);
}

TEST(TVrBevel, AllOffTakesNoRoomAndDrawsNothing) {
    TVrBevel bevel;
    bevel.SetInnerStyle(bsNone);
    bevel.SetOuterStyle(bsNone);
    bevel.SetOuterOutline(osNone);
    bevel.SetInnerSpace(0);
    TRect area{0, 0, 10, 10};
    bevel.GetVisibleArea(area);
    EXPECT_EQ(area, (TRect{0, 0, 10, 10}));

    QImage image = WhiteImage(10, 10);
    QPainter p(&image);
    bevel.Paint(p, area);
    p.end();
    EXPECT_EQ(area, (TRect{0, 0, 10, 10}));
    EXPECT_TRUE(AllPixels(image, image.rect(), clWhite));
}

TEST(TVrBevel, InvisibleBevelTakesNoRoom) {
    TVrBevel bevel;
    bevel.SetBorderWidth(3);
    bevel.SetVisible(false);
    EXPECT_EQ(bevel.Thickness(), 0);
}

TEST(TVrBevel, ThicknessCountsEveryPart) {
    TVrBevel bevel;
    bevel.SetBorderWidth(2);
    bevel.SetOuterWidth(3);
    bevel.SetOuterSpace(1);
    bevel.SetInnerOutline(osInner);
    bevel.SetInnerWidth(2);
    bevel.SetInnerSpace(4);
    // 2 border + 1 outline + 3 outer + 1 space + 1 outline + 2 inner + 4 space
    EXPECT_EQ(bevel.Thickness(), 14);
    QImage image = WhiteImage(40, 40);
    QPainter p(&image);
    TRect r{0, 0, 40, 40};
    bevel.Paint(p, r);
    EXPECT_EQ(r, (TRect{14, 14, 26, 26}));
}

TEST(TVrBevel, SettersNotifyOnlyOnChange) {
    TVrBevel bevel;
    int changes = 0;
    TVrPersistent* sender = nullptr;
    bevel.OnChange = [&](TVrPersistent* s) {
        ++changes;
        sender = s;
    };
    bevel.SetInnerWidth(1);
    bevel.SetOuterStyle(bsRaised);
    EXPECT_EQ(changes, 0);
    bevel.SetInnerWidth(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &bevel);

    bevel.BeginUpdate();
    bevel.SetInnerWidth(3);
    bevel.SetBorderWidth(1);
    EXPECT_EQ(changes, 1);
    bevel.EndUpdate();
    EXPECT_EQ(changes, 2);
}

TEST(TVrBevel, AssignCopiesAllAndNotifiesOnceEvenWhenEqual) {
    TVrBevel source;
    source.SetBorderWidth(5);
    source.SetInnerColor(clRed);
    source.SetOuterOutline(osInner);
    source.SetVisible(false);

    TVrBevel bevel;
    int changes = 0;
    bevel.OnChange = [&](TVrPersistent*) { ++changes; };
    bevel.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bevel.BorderWidth(), 5);
    EXPECT_EQ(bevel.InnerColor(), clRed);
    EXPECT_EQ(bevel.OuterOutline(), osInner);
    EXPECT_FALSE(bevel.Visible());

    bevel.Assign(source);
    bevel.Assign(bevel);
    EXPECT_EQ(changes, 3);
}

TEST(TVrPersistent, AssignFromAnotherClassIsRefused) {
    TVrBevel bevel;
    TVrPalette palette;
    try {
        bevel.Assign(palette);
        FAIL() << "no error";
    } catch (const EAssignError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TVrPalette to a TVrBevel");
    }
    EXPECT_THROW(palette.Assign(TVrPaletteEx()), EAssignError);
}

TEST(TVrPalette, DefaultsColoursByIndexAndAssign) {
    TVrPalette palette;
    EXPECT_EQ(palette.Low(), clGreen);
    EXPECT_EQ(palette.High(), clLime);
    EXPECT_EQ(palette.GetColors(-1), clGreen);
    EXPECT_EQ(palette.GetColors(0), clGreen);
    EXPECT_EQ(palette.GetColors(1), clLime);

    int changes = 0;
    palette.OnChange = [&](TVrPersistent*) { ++changes; };
    palette.SetHigh(clLime);
    EXPECT_EQ(changes, 0);
    TVrPalette other;
    other.SetLow(clMaroon);
    palette.Assign(other);
    EXPECT_EQ(palette.Low(), clMaroon);
    EXPECT_EQ(changes, 1);
}

TEST(TVrPaletteEx, DefaultsAndAssign) {
    TVrPaletteEx ex;
    EXPECT_EQ(ex.Low1(), clGreen);
    EXPECT_EQ(ex.High1(), clLime);
    EXPECT_EQ(ex.Low2(), clBlack);
    EXPECT_EQ(ex.High2(), clBlack);
    TVrPaletteEx other;
    other.SetHigh2(clWhite);
    int changes = 0;
    ex.OnChange = [&](TVrPersistent*) { ++changes; };
    ex.Assign(other);
    EXPECT_EQ(ex.High2(), clWhite);
    EXPECT_EQ(changes, 1);
}

TEST(TVrTextOutline, DefaultsAndStoreOnlyIfDifferent) {
    TVrTextOutline outline;
    EXPECT_EQ(outline.Color(), clNavy);
    EXPECT_TRUE(outline.Visible());
    EXPECT_EQ(outline.Width(), 1);
    int changes = 0;
    outline.OnChange = [&](TVrPersistent*) { ++changes; };
    outline.SetWidth(1);
    outline.SetWidth(2);
    outline.SetVisible(false);
    EXPECT_EQ(changes, 2);
}

TEST(TColor, PlainAndSystemColours) {
    EXPECT_EQ(clMaroon, 128u);
    EXPECT_EQ(RGB(0, 55, 28), 1849088u);
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(ColorToQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_EQ(ColorToRGB(clWindow) & clSystemColor, 0u);
}

} // namespace
