#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Pure cell arithmetic of the dot raster. Cell i sits at column i mod columns, row i div columns.
struct VrRasterGeometry {
    QRect grid;         // client rectangle less the bevel
    int cellWidth = 0;  // grid width div columns
    int cellHeight = 0; // grid height div rows
    int columns = 1;
    int rows = 1;
};

// Geometry of a raster of `client` size whose bevel is `bevelThickness` thick on every side.
// Counts below 1 give empty cells rather than a division by zero.
VrRasterGeometry vrRasterGeometry(QSize client, int bevelThickness, int columns, int rows);

// Column (x) and row (y) of cell `index`.
QPoint vrRasterCellPos(int index, int columns);
// The slot of cell `index` (before the spacing is taken off).
QRect vrRasterSlot(const VrRasterGeometry& g, int index);
// Size that holds a whole number of cells with the grid inset equal on all sides.
QSize vrRasterFittedSize(const VrRasterGeometry& g);
// Cell under `point`, or -1 outside the cells.
int vrRasterCellAt(const VrRasterGeometry& g, QPoint point);
// Size that keeps the cell area `grid` when the bevel becomes `newThickness` thick.
QSize vrRasterSizeKeepingGrid(const QRect& grid, int newThickness);
