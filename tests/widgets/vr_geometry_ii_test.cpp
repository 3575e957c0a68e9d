// Pure geometry of the raster and the switch: table cases from the main window's own widgets.
#include "VrRasterGeometry.h"
#include "VrSwitchGeometry.h"

#include <gtest/gtest.h>

TEST(VrRoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        int out;
    } cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {3.5, 4}, {-0.5, 0},
                 {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {7.0, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(vrRoundHalfEven(c.in), c.out) << c.in;
}

namespace {
// The DIO page's direction switch: 29 x 26, two stops, vertical, border 1, default indent 1.
VrSwitchLayout dioSwitch() {
    VrSwitchLayout l;
    l.client = QSize(29, 26);
    l.thumb = QSize(24, 12);
    l.positions = 2;
    return l;
}
} // namespace

TEST(VrSwitchGeometry, DioSwitchThumbPlacement) {
    const VrSwitchLayout l = dioSwitch();
    EXPECT_EQ(vrSwitchTrackRect(l), QRect(2, 2, 25, 22));
    EXPECT_EQ(vrSwitchTravel(l), 10);
    EXPECT_EQ(vrSwitchThumbCross(l), 2);
    EXPECT_EQ(vrSwitchThumbPosition(l, 0), 12); // stop 0 at the bottom
    EXPECT_EQ(vrSwitchThumbPosition(l, 1), 2);
    EXPECT_EQ(vrSwitchFittedSize(l), QSize(29, 26));
}

TEST(VrSwitchGeometry, StopsOfEveryOrientationAndStyle) {
    // Four stops on a 60-long track of a 12-long thumb: travel 44, stops 44/3 apart (14.67 -> 15, 29.33 ->
    // 29).
    const struct {
        bool vertical;
        bool topRight;
        int positions[4];
    } cases[] = {
        {true, false, {46, 31, 17, 2}},
        {true, true, {2, 17, 31, 46}},
        {false, false, {2, 17, 31, 46}},
        {false, true, {46, 31, 17, 2}},
    };
    for (const auto& c : cases) {
        VrSwitchLayout l;
        l.vertical = c.vertical;
        l.topRight = c.topRight;
        l.thumb = c.vertical ? QSize(24, 12) : QSize(12, 24);
        l.client = c.vertical ? QSize(29, 60) : QSize(60, 29);
        for (int stop = 0; stop < 4; ++stop) {
            const int p = vrSwitchThumbPosition(l, stop);
            EXPECT_EQ(p, c.positions[stop]) << c.vertical << c.topRight << stop;
            EXPECT_EQ(vrSwitchOffsetAt(l, p), stop) << "round trip " << c.vertical << c.topRight << stop;
        }
    }
}

TEST(VrSwitchGeometry, HalfwayBetweenStopsRoundsToEven) {
    // Travel 10: with two stops, 5 pixels from the start is half a stop (-> 0); with four, 1.5 stops (-> 2).
    VrSwitchLayout l;
    l.vertical = false;
    l.client = QSize(26, 29); // track 2..23, width 22, thumb 12 -> travel 10
    l.thumb = QSize(12, 24);
    l.positions = 2;
    EXPECT_EQ(vrSwitchTravel(l), 10);
    EXPECT_EQ(vrSwitchOffsetAt(l, 2 + 5), 0);
    EXPECT_EQ(vrSwitchOffsetAt(l, 2 + 6), 1);
    l.positions = 4; // 5 * 3 / 10 = 1.5 -> 2
    EXPECT_EQ(vrSwitchOffsetAt(l, 2 + 5), 2);
}

TEST(VrSwitchGeometry, OffsetAtClampsToTheTrack) {
    const VrSwitchLayout l = dioSwitch();
    EXPECT_EQ(vrSwitchOffsetAt(l, -100), 1);
    EXPECT_EQ(vrSwitchOffsetAt(l, 100), 0);
    // A click at y 20 asks for the thumb at 20 - 6 = 14: the bottom stop.
    EXPECT_EQ(vrSwitchOffsetAt(l, 14), 0);
}

TEST(VrSwitchGeometry, FittedSizeFollowsStopsAndBorder) {
    VrSwitchLayout l;
    l.client = QSize(10, 100);
    l.thumb = QSize(24, 12);
    l.positions = 4;
    l.borderWidth = 3;
    EXPECT_EQ(vrSwitchFittedSize(l), QSize(30, 4 * 12 + 6));
    l.vertical = false;
    l.thumb = QSize(12, 24);
    l.client = QSize(10, 40);
    EXPECT_EQ(vrSwitchFittedSize(l), QSize(4 * 12 + 6, 40));
}

TEST(VrSwitchGeometry, DegenerateTracksDoNotDivideByZero) {
    VrSwitchLayout l = dioSwitch();
    l.positions = 1;
    EXPECT_EQ(vrSwitchThumbPosition(l, 0), 12);
    EXPECT_EQ(vrSwitchOffsetAt(l, 5), 0);
    l.positions = 2;
    l.client = QSize(29, 16); // travel 0
    EXPECT_EQ(vrSwitchTravel(l), 0);
    EXPECT_EQ(vrSwitchOffsetAt(l, 2), 0);
}

TEST(VrRasterGeometry, MainWindowRasters) {
    // Editor and previews: bevel with outline and raised outer bevel = 2 pixels thick.
    const struct {
        QSize size;
        int cell;
        QSize fitted;
    } cases[] = {
        {{129, 204}, 25, {129, 204}},
        {{29, 44}, 5, {29, 44}},
        {{130, 204}, 25, {129, 204}},
        {{133, 210}, 25, {129, 204}},
    };
    for (const auto& c : cases) {
        const VrRasterGeometry g = vrRasterGeometry(c.size, 2, 5, 8);
        EXPECT_EQ(g.grid.topLeft(), QPoint(2, 2));
        EXPECT_EQ(g.cellWidth, c.cell) << c.size.width();
        EXPECT_EQ(g.cellHeight, c.cell) << c.size.width();
        EXPECT_EQ(vrRasterFittedSize(g), c.fitted) << c.size.width();
    }
}

TEST(VrRasterGeometry, CellsAreNumberedRowByRow) {
    EXPECT_EQ(vrRasterCellPos(7, 5), QPoint(2, 1));
    EXPECT_EQ(vrRasterCellPos(39, 5), QPoint(4, 7));
    const VrRasterGeometry g = vrRasterGeometry({129, 204}, 2, 5, 8);
    EXPECT_EQ(vrRasterSlot(g, 0), QRect(2, 2, 25, 25));
    EXPECT_EQ(vrRasterSlot(g, 7), QRect(52, 27, 25, 25));
    EXPECT_EQ(vrRasterSlot(g, 39), QRect(102, 177, 25, 25));
}

TEST(VrRasterGeometry, HitTesting) {
    const VrRasterGeometry g = vrRasterGeometry({129, 204}, 2, 5, 8);
    const struct {
        QPoint at;
        int cell;
    } cases[] = {{{3, 3}, 0},     {{126, 201}, 39}, {{1, 10}, -1}, {{2, 2}, 0},
                 {{127, 10}, -1}, {{27, 26}, 1},    {{52, 27}, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(vrRasterCellAt(g, c.at), c.cell) << c.at.x() << "," << c.at.y();
}

TEST(VrRasterGeometry, BevelChangeKeepsTheCellArea) {
    const VrRasterGeometry g = vrRasterGeometry({129, 204}, 2, 5, 8);
    EXPECT_EQ(vrRasterSizeKeepingGrid(g.grid, 5), QSize(125 + 10, 200 + 10));
    EXPECT_EQ(vrRasterSizeKeepingGrid(g.grid, 0), QSize(125, 200));
}

TEST(VrRasterGeometry, CountsBelowOneGiveNoCells) {
    const VrRasterGeometry g = vrRasterGeometry({129, 204}, 2, 0, 8);
    EXPECT_EQ(g.cellWidth, 0);
    EXPECT_EQ(vrRasterCellAt(g, {10, 10}), -1);
    EXPECT_EQ(vrRasterCellPos(3, 0), QPoint(0, 0));
}
