// Raster cell arithmetic: the user-symbol page's editor and preview rasters among the cases.
#include "VrRasterGeometry.h"

#include <gtest/gtest.h>

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
