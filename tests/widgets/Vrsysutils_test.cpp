#include "Vrsysutils.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(DrawFrame3D, WidthTwoDrawsTwoRingsAndShrinks) {
    QImage image = WhiteImage(12, 12);
    QPainter p(&image);
    TRect r{0, 0, 10, 10};
    DrawFrame3D(p, r, clRed, clBlue, 2);
    p.end();
    EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
    // Outer ring: top-left line from (0,9) through (0,0) to (9,0), its last point left out.
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(Px(image, 0, i), clRed) << i;
        EXPECT_EQ(Px(image, i, 0), clRed) << i;
    }
    // The bottom-right line runs from (9,0) down to (9,9) and back to the left edge.
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(Px(image, 9, i), clBlue) << i;
        EXPECT_EQ(Px(image, i, 9), clBlue) << i;
    }
    // Inner ring.
    EXPECT_EQ(Px(image, 1, 1), clRed);
    EXPECT_EQ(Px(image, 1, 7), clRed);
    EXPECT_EQ(Px(image, 8, 1), clBlue);
    EXPECT_EQ(Px(image, 1, 8), clBlue);
    // Nothing beyond the rectangle, nothing inside the rings.
    EXPECT_EQ(Px(image, 10, 0), clWhite);
    EXPECT_EQ(Px(image, 0, 10), clWhite);
    EXPECT_TRUE(AllPixels(image, QRect(2, 2, 6, 6), clWhite));
}

TEST(DrawFrame3D, OutlineLeavesBottomLeftCornerInTopColour) {
    QImage frame = WhiteImage(10, 10);
    QImage outline = WhiteImage(10, 10);
    TRect a{0, 0, 10, 10};
    TRect b = a;
    {
        QPainter p(&frame);
        DrawFrame3D(p, a, clRed, clBlue, 1);
    }
    {
        QPainter p(&outline);
        DrawOutline3D(p, b, clRed, clBlue, 1);
    }
    EXPECT_EQ(Px(frame, 0, 9), clBlue);
    EXPECT_EQ(Px(outline, 0, 9), clRed);
    EXPECT_EQ(Px(outline, 1, 9), clBlue);
    EXPECT_EQ(a, b);
}

TEST(DrawFrame3D, WidthZeroOrLessDrawsNothing) {
    for (int width : {0, -3}) {
        QImage image = WhiteImage(10, 10);
        QPainter p(&image);
        TRect r{0, 0, 10, 10};
        DrawFrame3D(p, r, clRed, clBlue, width);
        DrawOutline3D(p, r, clRed, clBlue, width);
        p.end();
        EXPECT_EQ(r, (TRect{0, 0, 10, 10}));
        EXPECT_TRUE(AllPixels(image, image.rect(), clWhite));
    }
}

TEST(DrawFrame3D, SystemColoursResolveThroughThePalette) {
    QImage image = WhiteImage(4, 4);
    QPainter p(&image);
    TRect r{0, 0, 4, 4};
    DrawFrame3D(p, r, clBtnHighlight, clBtnShadow, 1);
    p.end();
    EXPECT_EQ(Px(image, 0, 0), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(image, 3, 3), Resolved(clBtnShadow));
}

TEST(DrawGradientExt, ThreeRowsGiveZeroEightyFiveHundredSeventy) {
    QImage image = WhiteImage(5, 4);
    QPainter p(&image);
    DrawGradientExt(p, TRect{0, 0, 5, 3}, clBlack, clWhite, 1, 1);
    p.end();
    EXPECT_TRUE(AllPixels(image, QRect(0, 0, 5, 1), RGB(0, 0, 0)));
    EXPECT_TRUE(AllPixels(image, QRect(0, 1, 5, 1), RGB(85, 85, 85)));
    EXPECT_TRUE(AllPixels(image, QRect(0, 2, 5, 1), RGB(170, 170, 170)));
    EXPECT_TRUE(AllPixels(image, QRect(0, 3, 5, 1), clWhite)) << "the band stays inside";
}

TEST(DrawGradientExt, EqualColoursFillSolidAndOtherStylesDrawNothing) {
    QImage image = WhiteImage(6, 6);
    QPainter p(&image);
    DrawGradientExt(p, TRect{1, 1, 5, 5}, clRed, clRed, 1, 1);
    DrawGradientExt(p, TRect{0, 0, 6, 6}, clBlue, clBlue, 0, 1);
    p.end();
    EXPECT_TRUE(AllPixels(image, QRect(1, 1, 4, 4), clRed));
    EXPECT_EQ(Px(image, 0, 0), clWhite);
}

TEST(DrawGradientExt, OneColourCoversTheBandsItWouldBeDrawnIn) {
    // Height 5 in bands of 2: three bands, the last one a row past the rectangle, as drawn band by band.
    for (const int step : {1, 2, 3, 7}) {
        QImage image = WhiteImage(6, 10);
        QPainter p(&image);
        DrawGradientExt(p, TRect{1, 1, 5, 6}, clBtnFace, clBtnFace, 1, step);
        p.end();
        const int rows = (5 + step - 1) / step * step;
        EXPECT_TRUE(AllPixels(image, QRect(1, 1, 4, rows), Resolved(clBtnFace))) << "bands of " << step;
        EXPECT_TRUE(AllPixels(image, QRect(1, 1 + rows, 5, 9 - rows), clWhite)) << "bands of " << step;
        EXPECT_TRUE(AllPixels(image, QRect(0, 0, 6, 1), clWhite));
        EXPECT_TRUE(AllPixels(image, QRect(5, 0, 1, 10), clWhite));
    }
}

TEST(DrawGradient, RoundsChannelsAndPaintsOneBandBeyond) {
    // Height 4 from black to (255, 0, 100): offsets 0..4, the band at 4 lies below the rectangle.
    QImage image = WhiteImage(3, 6);
    QPainter p(&image);
    DrawGradient(p, TRect{0, 0, 3, 4}, clBlack, RGB(255, 0, 100), 0, 1);
    p.end();
    EXPECT_EQ(Px(image, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(Px(image, 0, 1), RGB(64, 0, 25));  // 63.75 and 25
    EXPECT_EQ(Px(image, 0, 2), RGB(128, 0, 50)); // 127.5 rounds to the even neighbour
    EXPECT_EQ(Px(image, 0, 3), RGB(191, 0, 75));
    EXPECT_EQ(Px(image, 0, 4), RGB(255, 0, 100));
    EXPECT_EQ(Px(image, 0, 5), clWhite);
}

TEST(DrawGradient, HorizontalBandsAndUnknownDirection) {
    QImage image = WhiteImage(4, 2);
    QPainter p(&image);
    DrawGradient(p, TRect{0, 0, 2, 2}, clBlack, clWhite, 1, 1);
    DrawGradient(p, TRect{0, 0, 4, 2}, clRed, clRed, 2, 1);
    p.end();
    EXPECT_EQ(Px(image, 0, 1), RGB(0, 0, 0));
    EXPECT_EQ(Px(image, 1, 1), RGB(128, 128, 128));
    EXPECT_EQ(Px(image, 2, 1), clWhite);
    EXPECT_EQ(Px(image, 3, 0), clWhite);
}

TEST(ThumbFrames, IndexFallsBackToNormalFrame) {
    struct Case {
        bool enabled, dragging, hovering;
        int frames, expected;
    };
    const Case cases[] = {
        {true, false, false, 4, 0}, {false, false, false, 4, 1}, {true, true, true, 4, 2},
        {true, false, true, 4, 3},  {true, false, true, 3, 0},   {false, true, true, 1, 0},
        {true, true, false, 2, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThumbFrameIndex(c.enabled, c.dragging, c.hovering, c.frames), c.expected)
            << c.enabled << c.dragging << c.hovering << c.frames;
}

TEST(ThumbFrames, TransparentColourIsTheBottomLeftPixel) {
    QImage thumb(4, 2, QImage::Format_ARGB32);
    thumb.fill(Qt::black);
    thumb.setPixelColor(1, 0, Qt::red);
    thumb.setPixelColor(3, 0, Qt::blue);
    QImage opaque = WhiteImage(2, 2);
    QImage keyed = WhiteImage(2, 2);
    {
        QPainter p(&opaque);
        DrawBitmapFrame(p, thumb, 1, 2, 0, 0, true);
    }
    {
        QPainter p(&keyed);
        DrawBitmapFrame(p, thumb, 0, 2, 0, 0, false);
    }
    EXPECT_EQ(Px(opaque, 1, 0), clBlue);
    EXPECT_EQ(Px(opaque, 0, 0), clBlack);
    EXPECT_EQ(Px(keyed, 1, 0), clRed);
    EXPECT_EQ(Px(keyed, 0, 0), clWhite);
    EXPECT_EQ(Px(keyed, 0, 1), clWhite);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(25.5), 26);
    EXPECT_EQ(RoundHalfEven(24.5), 24);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(223.87), 224);
}

} // namespace
