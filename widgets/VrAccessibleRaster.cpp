#include "VrAccessibleRaster.h"

#include "TVrCustomRaster.h"
#include "TVrRasterLed.h"

#include <QPointer>

namespace {

// One dot of the raster: a cell of the table.
class RasterCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    RasterCell(VrAccessibleRaster* Table, TVrCustomRaster* Raster, int Index)
        : m_table(Table), m_raster(Raster), m_index(Index) {}

    bool isValid() const override { return m_raster && m_index < m_raster->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_table->window(); }
    void* interface_cast(QAccessible::InterfaceType Type) override {
        return Type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }
    QAccessibleInterface* parent() const override { return m_table; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Cell; }

    QString text(QAccessible::Text Text) const override {
        if (!isValid())
            return {};
        if (Text == QAccessible::Name)
            return QStringLiteral("Row %1, column %2").arg(rowIndex() + 1).arg(columnIndex() + 1);
        if (Text == QAccessible::Value)
            return lit() ? QStringLiteral("on") : QStringLiteral("off");
        return {};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.checkable = true;
        state.checked = lit();
        state.invisible = !m_raster->isVisible();
        state.disabled = !m_raster->isEnabled();
        state.focusable = m_raster->focusPolicy() != Qt::NoFocus;
        state.focused = m_raster->hasFocus() && m_raster->KeyCell() == m_index;
        return state;
    }

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect slot = m_raster->GetItemRect(m_index);
        return QRect(m_raster->mapToGlobal(slot.topLeft()), slot.size());
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_index % m_raster->Columns(); }
    int rowIndex() const override { return m_index / m_raster->Columns(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return m_table; }

private:
    bool lit() const { return m_raster->Items(m_index)->Active(); }

    VrAccessibleRaster* m_table;
    QPointer<TVrCustomRaster> m_raster;
    int m_index;
};

} // namespace

VrAccessibleRaster::VrAccessibleRaster(TVrCustomRaster* Raster)
    : QAccessibleWidget(Raster, QAccessible::Table) {}

VrAccessibleRaster::~VrAccessibleRaster() {
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

TVrCustomRaster* VrAccessibleRaster::raster() const {
    return static_cast<TVrCustomRaster*>(widget());
}

void* VrAccessibleRaster::interface_cast(QAccessible::InterfaceType Type) {
    if (Type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(Type);
}

int VrAccessibleRaster::childCount() const {
    return raster()->Count();
}

QAccessibleInterface* VrAccessibleRaster::child(int Index) const {
    if (Index < 0 || Index >= raster()->Count())
        return nullptr;
    auto it = m_cells.constFind(Index);
    if (it == m_cells.constEnd()) {
        auto* cell = new RasterCell(const_cast<VrAccessibleRaster*>(this), raster(), Index);
        it = m_cells.insert(Index, QAccessible::registerAccessibleInterface(cell));
    }
    return QAccessible::accessibleInterface(*it);
}

int VrAccessibleRaster::indexOfChild(const QAccessibleInterface* Child) const {
    if (!Child || Child->parent() != this)
        return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(Child));
    return m_cells.key(id, -1);
}

QAccessibleInterface* VrAccessibleRaster::focusChild() const {
    return raster()->hasFocus() ? child(raster()->KeyCell()) : nullptr;
}

QAccessibleInterface* VrAccessibleRaster::childAt(int X, int Y) const {
    return child(raster()->CellAt(raster()->mapFromGlobal(QPoint(X, Y))));
}

QAccessibleInterface* VrAccessibleRaster::cellAt(int Row, int Column) const {
    if (Row < 0 || Row >= rowCount() || Column < 0 || Column >= columnCount())
        return nullptr;
    return child(Row * columnCount() + Column);
}

QString VrAccessibleRaster::columnDescription(int Column) const {
    return QString::number(Column + 1);
}

QString VrAccessibleRaster::rowDescription(int Row) const {
    return QString::number(Row + 1);
}

int VrAccessibleRaster::columnCount() const {
    return raster()->Columns();
}

int VrAccessibleRaster::rowCount() const {
    return raster()->Rows();
}
