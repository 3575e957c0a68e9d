#include "TVrTrackBar.h"

#include "TVrBitmapList.h"
#include "TVrCursors.h"
#include "TVrResources.h"
#include "VrCursorClip.h"
#include "Vrsysutils.h"

#include <QPainter>
#include <algorithm>

TVrTrackBar::TVrTrackBar(QWidget* parent)
    : TVrCustomImageControl(parent), m_bitmaps([this] {
          LoadThumbImage();
          UpdateControlCanvas();
      }) {
    SetColor(clWindow);
    SetParentColor(true);
    resize(175, 45);
    m_gutterBevel.SetInnerStyle(bsNone);
    m_gutterBevel.SetInnerSpace(0);
    m_gutterBevel.SetInnerOutline(osNone);
    m_gutterBevel.SetOuterStyle(bsLowered);
    m_gutterBevel.SetOuterSpace(0);
    m_gutterBevel.SetOuterOutline(osNone);
    m_gutterBevel.OnChange = [this](TVrPersistent*) { UpdateControlCanvas(); };
    LoadThumbImage();
}

void TVrTrackBar::SetMaxValue(int Value) {
    if (Value == m_maxValue)
        return;
    m_maxValue = Value;
    if (m_maxValue < m_position)
        SetPosition(m_maxValue);
    else
        UpdateControlCanvas();
}

void TVrTrackBar::SetMinValue(int Value) {
    if (Value == m_minValue)
        return;
    m_minValue = Value;
    if (m_minValue > m_position)
        SetPosition(m_minValue);
    else
        UpdateControlCanvas();
}

void TVrTrackBar::SetPosition(int Value) {
    if (Value < m_minValue)
        Value = m_minValue;
    if (Value > m_maxValue)
        Value = m_maxValue;
    if (Value == m_position)
        return;
    m_position = Value;
    UpdateControlCanvas();
    AccessibleValueChanged(m_position);
    emit OnChange(this);
}

void TVrTrackBar::SetOrientation(TVrOrientation Value) {
    if (Value == m_orientation)
        return;
    m_orientation = Value;
    if (!IsLoading())
        resize(height(), width());
    LoadThumbImage();
    UpdateControlCanvas();
}

namespace {

template <class T> bool Differs(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

void TVrTrackBar::SetStyle(TVrProgressStyle Value) {
    if (Differs(m_style, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetOptions(TVrTrackBarOptions Value) {
    if (Differs(m_options, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetFrequency(int Value) {
    if (Differs(m_frequency, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetBorderWidth(int Value) {
    if (Differs(m_borderWidth, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetGutterWidth(int Value) {
    if (Differs(m_gutterWidth, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetGutterColor(TColor Value) {
    if (Differs(m_gutterColor, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetTickMarks(TVrTickMarks Value) {
    if (Differs(m_tickMarks, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetTickColor(TColor Value) {
    if (Differs(m_tickColor, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetThumbStates(int Value) {
    // The image is split into this many frames; outside 1..4 there is no sensible split.
    Value = std::clamp(Value, 1, 4);
    if (!Differs(m_thumbStates, Value))
        return;
    if (!IsLoading())
        LoadThumbImage();
    UpdateControlCanvas();
}

void TVrTrackBar::SetBackImageIndex(int Value) {
    if (Differs(m_backImageIndex, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetThumbImageIndex(int Value) {
    if (!Differs(m_thumbImageIndex, Value))
        return;
    LoadThumbImage();
    UpdateControlCanvas();
}

void TVrTrackBar::SetBitmapList(TVrBitmapList* Value) {
    if (!m_bitmaps.SetList(Value))
        return;
    LoadThumbImage();
    UpdateControlCanvas();
}

void TVrTrackBar::SetScaleOffset(int Value) {
    if (Differs(m_scaleOffset, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetFocusColor(TColor Value) {
    if (Differs(m_focusColor, Value))
        UpdateControlCanvas();
}

void TVrTrackBar::SetFocusOffset(int Value) {
    if (Differs(m_focusOffset, Value))
        UpdateControlCanvas();
}

VrTrackBarGeometry TVrTrackBar::Geometry() const {
    VrTrackBarGeometry g;
    g.Horizontal = Horizontal();
    g.Style = m_style;
    g.MinValue = m_minValue;
    g.MaxValue = m_maxValue;
    g.Frequency = m_frequency;
    g.FixedPoints = m_options.testFlag(toFixedPoints);
    g.ClientWidth = width();
    g.ClientHeight = height();
    g.BorderWidth = m_borderWidth;
    g.ThumbWidth = m_thumbWidth;
    g.ThumbHeight = m_thumbHeight;
    return g;
}

void TVrTrackBar::LoadThumbImage() {
    const QImage* listed = m_bitmaps.Bitmap(m_thumbImageIndex);
    m_thumbImage = listed ? *listed : TVrResources::Bitmap(Horizontal() ? "VRTB_HORI" : "VRTB_VERT");
    m_thumbWidth = m_thumbImage.width() / m_thumbStates;
    m_thumbHeight = m_thumbImage.height();
}

void TVrTrackBar::MoveThumbTo(int Pos) {
    SetPosition(Geometry().ValueForMove(Pos));
}

void TVrTrackBar::DrawScale(QPainter& Canvas, const VrTrackBarGeometry& g, int baseline, int endLength,
                            int otherLength) const {
    for (const VrTrackBarGeometry::Tick& tick : g.Ticks()) {
        const int length = tick.AtEnd ? endLength : otherLength;
        const int from = std::min(baseline, baseline + length);
        const int to = std::max(baseline, baseline + length);
        if (g.Horizontal)
            LineTo(Canvas, tick.Pos, from, tick.Pos, to, m_tickColor);
        else
            LineTo(Canvas, from, tick.Pos, to, tick.Pos, m_tickColor);
    }
}

void TVrTrackBar::Paint(QPainter& Canvas) {
    ClearBitmapCanvas(Canvas);
    const TRect client{0, 0, width(), height()};
    if (const QImage* back = m_bitmaps.Bitmap(m_backImageIndex))
        Canvas.drawImage(client.ToQRect(), *back);

    const VrTrackBarGeometry g = Geometry();
    TRect gutter = g.Gutter(m_gutterWidth);
    if (m_tickMarks == tmBoth || m_tickMarks == tmTopLeft)
        DrawScale(Canvas, g, (g.Horizontal ? gutter.Top : gutter.Left) - m_scaleOffset, -4, -3);
    if (m_tickMarks == tmBoth || m_tickMarks == tmBottomRight)
        DrawScale(Canvas, g, (g.Horizontal ? gutter.Bottom : gutter.Right) + m_scaleOffset, 4, 3);

    if (m_gutterBevel.Visible()) {
        m_gutterBevel.Paint(Canvas, gutter);
        FillRect(Canvas, gutter, m_gutterColor);
    }

    if (FocusShown() && m_focusOffset >= 0) {
        TRect focus = client;
        InflateRect(focus, -m_focusOffset, -m_focusOffset);
        DrawFrame3D(Canvas, focus, m_focusColor, m_focusColor, 1);
    }

    const TRect thumb = g.ThumbRect(m_position);
    const int frame = ThumbFrameIndex(isEnabled(), m_dragging, m_hover, m_thumbStates);
    DrawBitmapFrame(Canvas, m_thumbImage, frame, m_thumbWidth, thumb.Left, thumb.Top,
                    m_options.testFlag(toThumbOpaque));
}

void TVrTrackBar::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    TVrCustomImageControl::MouseDown(Button, Shift, X, Y);
    if (Button != Qt::LeftButton)
        return;
    if (TabStop())
        setFocus(Qt::MouseFocusReason);
    const TRect thumb = Geometry().ThumbRect(m_position);
    if (thumb.Contains(X, Y)) {
        m_dragging = true;
        m_grabOffset = Horizontal() ? X - thumb.Left : Y - thumb.Top;
        if (m_options.testFlag(toMouseClip))
            VrCursorClip::Confine(this);
        UpdateControlCanvas();
    } else if (m_options.testFlag(toActiveClick)) {
        const int length = Horizontal() ? m_thumbWidth : m_thumbHeight;
        MoveThumbTo((Horizontal() ? X : Y) - length / 2);
    }
}

void TVrTrackBar::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
    if (m_dragging) {
        MoveThumbTo((Horizontal() ? X : Y) - m_grabOffset);
    } else {
        const bool hover = Geometry().ThumbRect(m_position).Contains(X, Y);
        if (hover != m_hover) {
            m_hover = hover;
            UpdateControlCanvas();
        }
    }
    if (m_options.testFlag(toHandPoint) && Geometry().ThumbRect(m_position).Contains(X, Y))
        ShowCursorShape(crVrHandPoint);
    else
        RestoreCursorShape();
    TVrCustomImageControl::MouseMove(Buttons, Shift, X, Y);
}

void TVrTrackBar::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    m_dragging = false;
    UpdateControlCanvas();
    VrCursorClip::Release(this);
    TVrCustomImageControl::MouseUp(Button, Shift, X, Y);
}

void TVrTrackBar::MouseLeave() {
    // A pointer that left cannot hover the thumb any more.
    if (m_hover && !m_dragging) {
        m_hover = false;
        UpdateControlCanvas();
    }
    TVrCustomImageControl::MouseLeave();
}

void TVrTrackBar::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
    if ((Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
        // The arrows along the track step by Frequency toward where the key points (psTopRight puts
        // the maximum at the left or bottom). The keys the design leaves free move by value: Page Up
        // and Page Down by Frequency, the arrows across the track by one, so every value is reachable.
        const int along = m_style == psTopRight ? -m_frequency : m_frequency;
        const bool horizontal = Horizontal();
        switch (Key) {
        case Qt::Key_Home:
            SetPosition(m_maxValue);
            break;
        case Qt::Key_End:
            SetPosition(m_minValue);
            break;
        case Qt::Key_Left:
            SetPosition(m_position - (horizontal ? along : 1));
            break;
        case Qt::Key_Right:
            SetPosition(m_position + (horizontal ? along : 1));
            break;
        case Qt::Key_Up:
            SetPosition(m_position + (horizontal ? 1 : along));
            break;
        case Qt::Key_Down:
            SetPosition(m_position - (horizontal ? 1 : along));
            break;
        case Qt::Key_PageUp:
            SetPosition(m_position + m_frequency);
            break;
        case Qt::Key_PageDown:
            SetPosition(m_position - m_frequency);
            break;
        default:
            break;
        }
    }
    TVrCustomImageControl::KeyDown(Key, Shift);
}

void TVrTrackBar::FocusChanged(bool Focused) {
    TVrCustomImageControl::FocusChanged(Focused);
    UpdateControlCanvas();
}

void TVrTrackBar::EnabledChanged() {
    UpdateControlCanvas();
}

void TVrTrackBar::resizeEvent(QResizeEvent* event) {
    TVrCustomImageControl::resizeEvent(event);
    UpdateControlCanvas();
}
