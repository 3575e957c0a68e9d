#include "TVrCustomRaster.h"

#include "TVrRasterLed.h"
#include "Vrsysutils.h"

#include <QPainter>

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
}

void TVrCustomRaster::Loaded() {
    m_layoutThickness = m_bevel.Thickness();
}

void TVrCustomRaster::LedChanged(int Index) {
    QList<int> changed = EnforceSingle(Index);
    changed.append(Index);
    if (IsLoading() || UpdateCount() != 0)
        return;
    const VrRasterGeometry g = Geometry();
    const bool drawn = UpdateBitmapCanvas([&](QPainter& p) {
        for (int i : changed)
            DrawLed(p, g, i);
    });
    if (!drawn) {
        UpdateControlCanvas();
        return;
    }
    for (int i : changed)
        RepaintFromBuffer(vrRasterSlot(g, i));
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
