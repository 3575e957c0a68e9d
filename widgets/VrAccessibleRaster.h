#pragma once

#include <QAccessibleWidget>
#include <QHash>

class TVrCustomRaster;

// A raster as assistive technology sees it: a table of its dots, row by row, each a cell named by its
// row and column (from 1) and checked while lit; the keyboard cell is the focused one while the
// raster holds the focus. Named by the application. The cells' interfaces live as long as this one.
class VrAccessibleRaster : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit VrAccessibleRaster(TVrCustomRaster* Raster);
    ~VrAccessibleRaster() override;

    TVrCustomRaster* raster() const;

    void* interface_cast(QAccessible::InterfaceType Type) override;
    int childCount() const override;
    QAccessibleInterface* child(int Index) const override;
    int indexOfChild(const QAccessibleInterface* Child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int X, int Y) const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int Row, int Column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int Column) const override;
    QString rowDescription(int Row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    // Created when first asked for, registered with QAccessible, removed with this interface.
    mutable QHash<int, QAccessible::Id> m_cells;
};
