#include "TVrCustomRaster.h"

#include "TVrRasterLed.h"
#include "Vrsysutils.h"

#include <QPainter>

#include <algorithm>

TVrCustomRaster::TVrCustomRaster(QWidget* parent) : TVrGraphicImageControl(parent), m_leds(this) {
    resize(145, 70);
    SetColor(clWindow);
    SetParentColor(true);
    m_bevel.SetInnerStyle(bsNone);
    m_bevel.SetInnerWidth(1);
    m_bevel.SetInnerSpace(0);
    m_bevel.SetInnerColor(clBlack);
    m_layoutThickness = m_bevel.Thickness();
    m_palette.OnChange = [this](TVrPersistent*) { UpdateControlCanvas(); };
    m_bevel.OnChange = [this](TVrPersistent*) { BevelChanged(); };
    RecreateLeds();
}

void TVrCustomRaster::SetColumns(int Value) {
    if (Value == m_columns || Value < 1)
        return;
    m_columns = Value;
    RecreateLeds();
}

void TVrCustomRaster::SetRows(int Value) {
    if (Value == m_rows || Value < 1)
        return;
    m_rows = Value;
    RecreateLeds();
}

void TVrCustomRaster::SetStyle(TVrRasterStyle Value) {
    if (Value == m_style)
        return;
    m_style = Value;
    UpdateControlCanvas();
}

void TVrCustomRaster::SetPlainColors(bool Value) {
    if (Value == m_plainColors)
        return;
    m_plainColors = Value;
    UpdateControlCanvas();
}

void TVrCustomRaster::SetMultiSelect(bool Value) {
    if (Value == m_multiSelect)
        return;
    m_multiSelect = Value;
    if (Value) {
        UpdateControlCanvas();
        return;
    }
    BeginUpdate();
    for (int i = 0; i < Count(); ++i)
        Items(i)->StoreActive(false);
    EndUpdate();
}

void TVrCustomRaster::SetSpacing(int Value) {
    if (Value == m_spacing || Value < 0)
        return;
    m_spacing = Value;
    UpdateControlCanvas();
}

void TVrCustomRaster::SetActiveState(int Except, bool Value) {
    for (int i = 0; i < Count(); ++i)
        if (i != Except)
            Items(i)->SetActive(Value);
}

VrRasterGeometry TVrCustomRaster::Geometry() const {
    return vrRasterGeometry(size(), m_bevel.Thickness(), m_columns, m_rows);
}

QRect TVrCustomRaster::GetItemRect(int Index) const {
    return vrRasterSlot(Geometry(), Index);
}

int TVrCustomRaster::CellAt(QPoint Point) const {
    return vrRasterCellAt(Geometry(), Point);
}

void TVrCustomRaster::PaintTo(QPainter& Canvas) {
    // Fit to a whole number of cells first, so the picture is drawn for the final size.
    const QSize fitted = vrRasterFittedSize(Geometry());
    if (fitted != size() && !fitted.isEmpty())
        resize(fitted);
    m_layoutThickness = m_bevel.Thickness();
    TVrGraphicImageControl::PaintTo(Canvas);
}

void TVrCustomRaster::Paint(QPainter& Canvas) {
    const VrRasterGeometry g = Geometry();
    ClearBitmapCanvas(Canvas);
    TRect r = Bounds(0, 0, width(), height());
    m_bevel.Paint(Canvas, r);
    // Dots lit while changes were bracketed: without MultiSelect the first lit one keeps its light.
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Active()) {
            EnforceSingle(i);
            break;
        }
    for (int i = 0; i < Count(); ++i)
        DrawLed(Canvas, g, i);
    DrawKeyCellFrame(Canvas, g);
}

void TVrCustomRaster::Loaded() {
    m_layoutThickness = m_bevel.Thickness();
}

void TVrCustomRaster::LedChanged(int Index) {
    QList<int> changed = EnforceSingle(Index);
    changed.append(Index);
    if (IsLoading())
        return;
    for (int i : changed)
        AccessibleCellEvent(i, QAccessible::StateChanged);
    if (UpdateCount() == 0)
        RedrawLeds(changed);
}

void TVrCustomRaster::RedrawLeds(const QList<int>& Indices) {
    const VrRasterGeometry g = Geometry();
    const bool drawn = UpdateBitmapCanvas([&](QPainter& p) {
        for (int i : Indices)
            DrawLed(p, g, i);
        if (Indices.contains(m_keyCell))
            DrawKeyCellFrame(p, g);
    });
    if (!drawn) {
        UpdateControlCanvas();
        return;
    }
    for (int i : Indices)
        RepaintFromBuffer(vrRasterSlot(g, i));
}

void TVrCustomRaster::DrawKeyCellFrame(QPainter& Canvas, const VrRasterGeometry& Geometry) const {
    if (!FocusShown() || m_keyCell >= Count())
        return;
    PaintFocusFrame(Canvas,
                    vrRasterSlot(Geometry, m_keyCell).adjusted(m_spacing, m_spacing, -m_spacing, -m_spacing));
}

void TVrCustomRaster::SetKeyCell(int Index) {
    Index = std::clamp(Index, 0, std::max(Count() - 1, 0));
    if (Index == m_keyCell)
        return;
    const int old = m_keyCell;
    m_keyCell = Index;
    if (FocusShown() && !IsLoading() && UpdateCount() == 0)
        RedrawLeds({old, Index});
    if (Focused())
        AccessibleCellEvent(Index, QAccessible::Focus);
}

void TVrCustomRaster::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
    if ((Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
        const int column = m_keyCell % m_columns;
        const int row = m_keyCell / m_columns;
        switch (Key) {
        case Qt::Key_Left:
            SetKeyCell(m_keyCell - (column > 0 ? 1 : 0));
            break;
        case Qt::Key_Right:
            SetKeyCell(m_keyCell + (column < m_columns - 1 ? 1 : 0));
            break;
        case Qt::Key_Up:
            SetKeyCell(m_keyCell - (row > 0 ? m_columns : 0));
            break;
        case Qt::Key_Down:
            SetKeyCell(m_keyCell + (row < m_rows - 1 ? m_columns : 0));
            break;
        default:
            break;
        }
    }
    TVrGraphicImageControl::KeyDown(Key, Shift);
}

void TVrCustomRaster::FocusChanged(bool Focused) {
    TVrGraphicImageControl::FocusChanged(Focused);
    UpdateControlCanvas();
    if (Focused)
        AccessibleCellEvent(m_keyCell, QAccessible::Focus);
}

void TVrCustomRaster::AccessibleCellEvent(int Index, QAccessible::Event Event) {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* raster = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = raster ? raster->tableInterface() : nullptr;
    QAccessibleInterface* cell = table ? table->cellAt(Index / m_columns, Index % m_columns) : nullptr;
    if (!cell)
        return;
    if (Event == QAccessible::StateChanged) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(cell, changed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleEvent event(cell, Event);
        QAccessible::updateAccessibility(&event);
    }
}

QList<int> TVrCustomRaster::EnforceSingle(int Index) {
    QList<int> changed;
    if (m_multiSelect || Index < 0 || Index >= Count() || !Items(Index)->Active())
        return changed;
    for (int i = 0; i < Count(); ++i)
        if (i != Index && Items(i)->Active()) {
            Items(i)->StoreActive(false);
            changed.append(i);
        }
    return changed;
}

void TVrCustomRaster::DrawLed(QPainter& Canvas, const VrRasterGeometry& Geometry, int Index) const {
    const bool on = Items(Index)->Active();
    const TColor color = on ? m_palette.High() : m_palette.Low();
    TRect r = TRect::FromQRect(vrRasterSlot(Geometry, Index));
    InflateRect(r, -m_spacing, -m_spacing);
    switch (m_style) {
    case rsRaised:
        DrawOutline3D(Canvas, r, clBlack, clBlack, 1);
        if (!m_plainColors)
            DrawOutline3D(Canvas, r, color, clBlack, 1);
        else if (on)
            DrawOutline3D(Canvas, r, clBtnHighlight, m_palette.High(), 1);
        else
            DrawOutline3D(Canvas, r, m_palette.High(), m_palette.Low(), 1);
        break;
    case rsLowered:
        DrawOutline3D(Canvas, r, clBtnShadow, clBtnHighlight, 1);
        DrawOutline3D(Canvas, r, clBlack, clBlack, 1);
        break;
    case rsFlat:
        DrawOutline3D(Canvas, r, clBlack, clBlack, 1);
        break;
    case rsNone:
        break;
    }
    if (m_plainColors)
        FillRect(Canvas, r, color);
    else
        DrawGradient(Canvas, r, color, clBlack, 0, 1);
}

void TVrCustomRaster::RecreateLeds() {
    m_keyCell = 0;
    m_leds.BeginUpdate();
    m_leds.Clear();
    for (int i = 0; i < m_columns * m_rows; ++i)
        new TVrRasterLed(&m_leds);
    m_leds.EndUpdate();
}

void TVrCustomRaster::BevelChanged() {
    const int thickness = m_bevel.Thickness();
    if (!IsLoading() && thickness != m_layoutThickness) {
        const QRect grid = vrRasterGeometry(size(), m_layoutThickness, m_columns, m_rows).grid;
        resize(vrRasterSizeKeepingGrid(grid, thickness));
    }
    m_layoutThickness = thickness;
    UpdateControlCanvas();
}
