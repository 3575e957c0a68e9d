#include "TVrSwitch.h"

#include "TVrBitmapList.h"
#include "TVrCursors.h"
#include "TVrResources.h"
#include "VrCursorClip.h"
#include "Vrsysutils.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

// The switch thumbs live in a resource file of their own next to the base's.
static void InitSwitchResources() {
    Q_INIT_RESOURCE(tkm_widgets_ii);
}

namespace {

QImage BuiltInThumb(TVrOrientation orientation) {
    static const bool initialised = (InitSwitchResources(), true);
    (void)initialised;
    return TVrResources::Bitmap(orientation == voHorizontal ? QStringLiteral("VRSWITCHTHUMB_HORI")
                                                            : QStringLiteral("VRSWITCHTHUMB_VERT"));
}

} // namespace

TVrSwitch::TVrSwitch(QWidget* parent)
    : TVrCustomImageControl(parent), m_bitmaps([this] {
          LoadThumb();
          UpdateControlCanvas();
      }) {
    resize(29, 60);
    SetColor(clBlack);
    m_bevel.SetInnerSpace(0);
    m_bevel.SetOuterOutline(osNone);
    m_bevel.OnChange = [this](TVrPersistent*) { UpdateControlCanvas(); };
    LoadThumb();
}

TVrSwitch::~TVrSwitch() {
    VrCursorClip::Release(this);
}

void TVrSwitch::SetPositions(int Value) {
    if (Value == m_positions)
        return;
    m_positions = Value;
    FitSize();
    UpdateControlCanvas();
}

void TVrSwitch::SetOffset(int Value) {
    Value = std::max(0, std::min(Value, m_positions - 1));
    if (Value == m_offset)
        return;
    m_offset = Value;
    UpdateControlCanvas();
    QAccessible::State changed;
    changed.checked = true;
    AccessibleStateChanged(changed);
    AccessibleValueChanged(m_offset);
    emit OnChange(this);
}

void TVrSwitch::SetOrientation(TVrOrientation Value) {
    if (Value == m_orientation)
        return;
    m_orientation = Value;
    if (!IsLoading())
        resize(height(), width());
    LoadThumb();
    UpdateControlCanvas();
}

void TVrSwitch::SetStyle(TVrProgressStyle Value) {
    if (Value == m_style)
        return;
    m_style = Value;
    UpdateControlCanvas();
}

void TVrSwitch::SetBackImageIndex(int Value) {
    if (Value == m_backImageIndex)
        return;
    m_backImageIndex = Value;
    UpdateControlCanvas();
}

void TVrSwitch::SetThumbImageIndex(int Value) {
    if (Value == m_thumbImageIndex)
        return;
    m_thumbImageIndex = Value;
    LoadThumb();
    UpdateControlCanvas();
}

void TVrSwitch::SetBitmapList(TVrBitmapList* Value) {
    if (!m_bitmaps.SetList(Value))
        return;
    LoadThumb();
    UpdateControlCanvas();
}

void TVrSwitch::SetThumbStates(int Value) {
    // Zero frames would leave no thumb width to divide the image by.
    if (Value == m_thumbStates || Value < 1 || Value > 4)
        return;
    m_thumbStates = Value;
    if (!IsLoading())
        LoadThumb();
    UpdateControlCanvas();
}

void TVrSwitch::SetThumbIndent(int Value) {
    if (Value == m_thumbIndent || Value < 0)
        return;
    m_thumbIndent = Value;
    UpdateControlCanvas();
}

void TVrSwitch::SetOptions(TVrSwitchOptions Value) {
    if (Value == m_options)
        return;
    m_options = Value;
    UpdateControlCanvas();
}

void TVrSwitch::SetBorderColor(TColor Value) {
    if (Value == m_borderColor)
        return;
    m_borderColor = Value;
    UpdateControlCanvas();
}

void TVrSwitch::SetBorderWidth(int Value) {
    if (Value == m_borderWidth || Value < 0)
        return;
    m_borderWidth = Value;
    FitSize();
    UpdateControlCanvas();
}

void TVrSwitch::SetFocusColor(TColor Value) {
    if (Value == m_focusColor)
        return;
    m_focusColor = Value;
    UpdateControlCanvas();
}

VrSwitchLayout TVrSwitch::Layout() const {
    VrSwitchLayout l;
    l.client = size();
    l.thumb = m_thumbSize;
    l.borderWidth = m_borderWidth;
    l.thumbIndent = m_thumbIndent;
    l.positions = m_positions;
    l.vertical = m_orientation == voVertical;
    l.topRight = m_style == psTopRight;
    return l;
}

QRect TVrSwitch::ThumbRect() const {
    const VrSwitchLayout l = Layout();
    const int along = vrSwitchThumbPosition(l, m_offset);
    const int across = vrSwitchThumbCross(l);
    return l.vertical ? QRect(QPoint(across, along), m_thumbSize) : QRect(QPoint(along, across), m_thumbSize);
}

void TVrSwitch::LoadThumb() {
    const QImage* listed = m_bitmaps.Bitmap(m_thumbImageIndex);
    m_thumbImage = listed ? *listed : BuiltInThumb(m_orientation);
    m_thumbSize = QSize(m_thumbImage.width() / m_thumbStates, m_thumbImage.height());
    FitSize();
}

void TVrSwitch::FitSize() {
    const QSize fitted = vrSwitchFittedSize(Layout());
    if (fitted != size())
        resize(fitted);
}

void TVrSwitch::resizeEvent(QResizeEvent* event) {
    TVrCustomImageControl::resizeEvent(event);
    FitSize();
    UpdateControlCanvas();
}

void TVrSwitch::Loaded() {
    LoadThumb();
}

void TVrSwitch::Paint(QPainter& Canvas) {
    ClearBitmapCanvas(Canvas);
    TRect r = Bounds(0, 0, width(), height());
    if (m_borderWidth > 0) {
        const TColor border = FocusShown() ? m_focusColor : m_borderColor;
        const TRect outside = r;
        InflateRect(r, -m_borderWidth, -m_borderWidth);
        PaintFace(Canvas, QRegion(outside.ToQRect()).subtracted(QRegion(r.ToQRect())), border);
    }
    m_bevel.Paint(Canvas, r);
    if (const QImage* back = m_bitmaps.Bitmap(m_backImageIndex))
        Canvas.drawImage(r.ToQRect(), *back);
    const QRect thumb = ThumbRect();
    const int frame = ThumbFrameIndex(isEnabled(), m_dragging, m_hover, m_thumbStates);
    DrawBitmapFrame(Canvas, m_thumbImage, frame, m_thumbSize.width(), thumb.x(), thumb.y(),
                    m_options.testFlag(soThumbOpaque));
}

void TVrSwitch::MoveThumbTo(int Pos) {
    SetOffset(vrSwitchOffsetAt(Layout(), Pos));
}

void TVrSwitch::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    TVrCustomImageControl::MouseDown(Button, Shift, X, Y);
    if (Button != Qt::LeftButton)
        return;
    if (TabStop())
        setFocus(Qt::MouseFocusReason);
    const bool vertical = m_orientation == voVertical;
    const int along = vertical ? Y : X;
    const QRect thumb = ThumbRect();
    if (thumb.contains(X, Y)) {
        m_dragging = true;
        m_grabOffset = along - (vertical ? thumb.top() : thumb.left());
        if (m_options.testFlag(soMouseClip))
            VrCursorClip::Confine(this);
        UpdateControlCanvas();
    } else if (m_options.testFlag(soActiveClick)) {
        const int length = vertical ? m_thumbSize.height() : m_thumbSize.width();
        MoveThumbTo(along - length / 2);
    }
}

void TVrSwitch::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
    if (m_dragging)
        MoveThumbTo((m_orientation == voVertical ? Y : X) - m_grabOffset);
    else
        SetHover(ThumbRect().contains(X, Y));
    UpdateCursorShape(QPoint(X, Y));
    TVrCustomImageControl::MouseMove(Buttons, Shift, X, Y);
}

void TVrSwitch::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    if (m_dragging) {
        m_dragging = false;
        UpdateControlCanvas();
    }
    if (VrCursorClip::IsConfined(this))
        VrCursorClip::Release(this);
    TVrCustomImageControl::MouseUp(Button, Shift, X, Y);
}

void TVrSwitch::MouseLeave() {
    // A pointer that leaves quickly sends no move over the border; drop the hover look here.
    if (!m_dragging)
        SetHover(false);
    TVrCustomImageControl::MouseLeave();
}

void TVrSwitch::SetHover(bool Value) {
    if (Value == m_hover)
        return;
    m_hover = Value;
    UpdateControlCanvas();
}

void TVrSwitch::UpdateCursorShape(QPoint Pos) {
    if (m_options.testFlag(soHandPoint) && ThumbRect().contains(Pos))
        ShowCursorShape(crVrHandPoint);
    else
        RestoreCursorShape();
}

void TVrSwitch::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
    if ((Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
        const bool vertical = m_orientation == voVertical;
        const int sign = m_style == psTopRight ? -1 : 1;
        switch (Key) {
        case Qt::Key_Home:
            SetOffset(0);
            break;
        case Qt::Key_End:
            SetOffset(m_positions - 1);
            break;
        case Qt::Key_Left:
            if (!vertical)
                SetOffset(m_offset - sign);
            break;
        case Qt::Key_Right:
            if (!vertical)
                SetOffset(m_offset + sign);
            break;
        case Qt::Key_Up:
            if (vertical)
                SetOffset(m_offset + sign);
            break;
        case Qt::Key_Down:
            if (vertical)
                SetOffset(m_offset - sign);
            break;
        default:
            break;
        }
    }
    TVrCustomImageControl::KeyDown(Key, Shift);
}

void TVrSwitch::KeyUp(int Key, Qt::KeyboardModifiers Shift) {
    TVrCustomImageControl::KeyUp(Key, Shift);
    // Space moves to the next stop, from the last back to the first: a two-position switch toggles.
    if (Key == Qt::Key_Space &&
        (Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0)
        SetOffset(m_offset + 1 < m_positions ? m_offset + 1 : 0);
}

void TVrSwitch::FocusChanged(bool Focused) {
    TVrCustomImageControl::FocusChanged(Focused);
    UpdateControlCanvas();
}

void TVrSwitch::EnabledChanged() {
    UpdateControlCanvas();
}
