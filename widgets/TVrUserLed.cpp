#include "TVrUserLed.h"

#include "Vrsysutils.h"

#include <QPainter>

TVrUserLed::TVrUserLed(QWidget* parent) : TVrGraphicControl(parent) {
    SetDoubleClicks(false);
    SetParentColor(true);
    resize(20, 10);
    m_bevel.SetInnerStyle(bsNone);
    m_bevel.SetInnerHighlight(clLime);
    m_bevel.SetInnerShadow(clGreen);
    m_paletteEx.SetLow1(clMaroon);
    m_paletteEx.SetHigh1(clRed);
    m_paletteEx.SetLow2(clBlack);
    m_paletteEx.SetHigh2(clBlack);
    m_bevel.OnChange = [this](TVrPersistent*) { UpdateControlCanvas(); };
    m_paletteEx.OnChange = [this](TVrPersistent*) { UpdateControlCanvas(); };
}

void TVrUserLed::SetActive(bool Value) {
    if (Value == m_active)
        return;
    m_active = Value;
    UpdateControlCanvas();
    // A form being loaded only stores the state; observers hear of changes made after it is built.
    if (IsLoading())
        return;
    QAccessible::State changed;
    changed.checked = true;
    AccessibleStateChanged(changed);
    emit OnChange(this);
}

void TVrUserLed::SetOutlineColor(TColor Value) {
    if (Value == m_outlineColor)
        return;
    m_outlineColor = Value;
    UpdateControlCanvas();
}

void TVrUserLed::SetOutlineWidth(int Value) {
    if (Value == m_outlineWidth)
        return;
    m_outlineWidth = Value;
    UpdateControlCanvas();
}

void TVrUserLed::SetDrawStyle(TVrDrawStyle Value) {
    if (Value == m_drawStyle)
        return;
    m_drawStyle = Value;
    UpdateControlCanvas();
}

void TVrUserLed::Paint(QPainter& Canvas) {
    TRect r{0, 0, width(), height()};
    if (m_drawStyle == dsOwnerDraw) {
        PaintBackground(Canvas);
        emit OnDraw(this, &Canvas, r.ToQRect());
        return;
    }
    if (m_outlineWidth > 0)
        DrawFrame3D(Canvas, r, m_outlineColor, m_outlineColor, m_outlineWidth);
    m_bevel.Paint(Canvas, r);
    const TColor top = m_active ? m_paletteEx.High1() : m_paletteEx.Low1();
    const TColor bottom = m_active ? m_paletteEx.High2() : m_paletteEx.Low2();
    DrawGradientExt(Canvas, r, top, bottom, 1, 1);
    // One pixel in from the edge, where the frame shows beside a dark outline instead of on it.
    if (FocusShown())
        PaintFocusFrame(Canvas, rect().adjusted(1, 1, -1, -1));
}

void TVrUserLed::FocusChanged(bool Focused) {
    TVrGraphicControl::FocusChanged(Focused);
    UpdateControlCanvas();
}
