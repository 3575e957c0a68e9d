#include "VrRasterGeometry.h"

VrRasterGeometry vrRasterGeometry(QSize client, int bevelThickness, int columns, int rows) {
    VrRasterGeometry g;
    g.grid = QRect(0, 0, client.width(), client.height())
                 .adjusted(bevelThickness, bevelThickness, -bevelThickness, -bevelThickness);
    g.columns = columns;
    g.rows = rows;
    g.cellWidth = columns > 0 ? g.grid.width() / columns : 0;
    g.cellHeight = rows > 0 ? g.grid.height() / rows : 0;
    return g;
}

QPoint vrRasterCellPos(int index, int columns) {
    if (columns < 1)
        return QPoint(0, 0);
    return QPoint(index % columns, index / columns);
}

QRect vrRasterSlot(const VrRasterGeometry& g, int index) {
    const QPoint cell = vrRasterCellPos(index, g.columns);
    return QRect(g.grid.left() + cell.x() * g.cellWidth, g.grid.top() + cell.y() * g.cellHeight, g.cellWidth,
                 g.cellHeight);
}

QSize vrRasterFittedSize(const VrRasterGeometry& g) {
    return QSize(2 * g.grid.left() + g.cellWidth * g.columns, 2 * g.grid.top() + g.cellHeight * g.rows);
}

int vrRasterCellAt(const VrRasterGeometry& g, QPoint point) {
    if (g.cellWidth <= 0 || g.cellHeight <= 0)
        return -1;
    const int dx = point.x() - g.grid.left();
    const int dy = point.y() - g.grid.top();
    if (dx < 0 || dy < 0)
        return -1;
    const int column = dx / g.cellWidth;
    const int row = dy / g.cellHeight;
    if (column >= g.columns || row >= g.rows)
        return -1;
    return row * g.columns + column;
}

QSize vrRasterSizeKeepingGrid(const QRect& grid, int newThickness) {
    return QSize(grid.width() + 2 * newThickness, grid.height() + 2 * newThickness);
}
