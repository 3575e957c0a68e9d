// Switch track arithmetic: table cases, the DIO page's switch among them.
#include "VrSwitchGeometry.h"

#include <gtest/gtest.h>

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
