#include "VrControl.h"

#include "TVrCursors.h"
#include "VrCursorClip.h"
#include "VrDevicePixels.h"
#include "VrParentPicture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

VrControl::VrControl(QWidget* parent) : QWidget(parent) {
    // Every pixel is drawn by the widget; the toolkit need not paint the parent under it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void VrControl::BeginUpdate() {
    ++m_updateCount;
}

void VrControl::EndUpdate() {
    // An unmatched EndUpdate must not leave the control unable to repaint.
    if (m_updateCount > 0)
        --m_updateCount;
    UpdateControlCanvas();
}

void VrControl::EndLoading() {
    if (!m_loading)
        return;
    m_loading = false;
    Loaded();
    UpdateControlCanvas();
}

void VrControl::UpdateControlCanvas() {
    if (m_loading || m_updateCount != 0)
        return;
    repaint();
}

void VrControl::PaintTo(QPainter& Canvas) {
    Paint(Canvas);
}

QImage VrControl::RenderImage(qreal Ratio) {
    QImage image = vrDeviceImage(size(), Ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    PaintTo(p);
    p.end();
    return image;
}

void VrControl::SetColor(TColor Value) {
    const bool wasParent = m_parentColor;
    m_parentColor = false;
    if (Value == m_color && !wasParent)
        return;
    m_color = Value;
    ColorChanged();
}

void VrControl::SetParentColor(bool Value) {
    if (Value == m_parentColor)
        return;
    m_parentColor = Value;
    ColorChanged();
}

QColor VrControl::ResolvedColor() const {
    QWidget* parent = parentWidget();
    if (m_parentColor && parent) {
        if (const auto* vr = qobject_cast<const VrControl*>(parent))
            return vr->ResolvedColor();
        // Styles paint some parents other than in their palette's colour (Fusion's group boxes are
        // darker): what is painted decides.
        const QColor painted = VrParentPicture::MainColor(*this);
        return painted.isValid() ? painted : parent->palette().color(parent->backgroundRole());
    }
    return ColorToQColor(m_color);
}

void VrControl::PaintFace(QPainter& Canvas, const QRegion& Area, TColor Color) const {
    if (Color == clBtnFace) {
        Canvas.save();
        Canvas.setClipRegion(Area, Qt::IntersectClip);
        const bool painted = VrParentPicture::Paint(*this, Canvas);
        Canvas.restore();
        if (painted)
            return;
    }
    for (const QRect& r : Area)
        Canvas.fillRect(r, ColorToQColor(Color));
}

void VrControl::PaintBackground(QPainter& Canvas) const {
    QWidget* parent = parentWidget();
    if (m_parentColor && parent && !qobject_cast<const VrControl*>(parent) &&
        VrParentPicture::Paint(*this, Canvas))
        return;
    Canvas.fillRect(rect(), ResolvedColor());
}

void VrControl::SetFontColor(TColor Value) {
    if (Value == m_fontColor)
        return;
    m_fontColor = Value;
    FontChanged();
}

void VrControl::SetCaption(const QString& Value) {
    if (Value == m_caption)
        return;
    m_caption = Value;
    TextChanged();
}

void VrControl::SetCursor(int Value) {
    if (Value == m_cursor)
        return;
    m_cursor = Value;
    RestoreCursorShape();
}

void VrControl::Paint(QPainter&) {}

void VrControl::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    emit OnMouseDown(this, Button, Shift, X, Y);
}

void VrControl::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
    emit OnMouseMove(this, Buttons, Shift, X, Y);
}

void VrControl::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    emit OnMouseUp(this, Button, Shift, X, Y);
}

void VrControl::Click() {
    emit OnClick(this);
}

void VrControl::DblClick() {
    emit OnDblClick(this);
}

void VrControl::MouseEnter() {
    emit OnMouseEnter(this);
}

void VrControl::MouseLeave() {
    emit OnMouseLeave(this);
}

void VrControl::ColorChanged() {
    UpdateControlCanvas();
}

void VrControl::ShowCursorShape(int CursorId) {
    m_shownCursor = CursorId;
    QWidget::setCursor(TVrCursors::Cursor(CursorId, devicePixelRatioF()));
}

void VrControl::RestoreCursorShape() {
    m_shownCursor = m_cursor;
    if (m_cursor == 0)
        unsetCursor();
    else
        QWidget::setCursor(TVrCursors::Cursor(m_cursor, devicePixelRatioF()));
}

void VrControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintTo(p);
}

void VrControl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    SetMouseInside(rect().contains(pos));
    if (event->button() == Qt::LeftButton && m_clickEvents)
        m_clickPending = true;
    MouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void VrControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_doubleClicks) {
        mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_clickEvents)
        DblClick();
    MouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void VrControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    VrCursorClip::Enforce(this, event->globalPosition().toPoint());
    // While a button is held the toolkit defers enter/leave; the pointer position decides.
    if (event->buttons() != Qt::NoButton)
        SetMouseInside(rect().contains(pos));
    MouseMove(event->buttons(), event->modifiers(), pos.x(), pos.y());
}

void VrControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_clickPending) {
        m_clickPending = false;
        if (rect().contains(pos))
            Click();
    }
    MouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

void VrControl::enterEvent(QEnterEvent*) {
    SetMouseInside(true);
}

void VrControl::leaveEvent(QEvent*) {
    SetMouseInside(false);
}

bool VrControl::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal) {
        // Another screen may have another device pixel ratio. Every paint draws the picture for the
        // ratio of the screen it goes to (the window is repainted after this event); the cursor
        // shape is picked for the ratio here.
        if (m_shownCursor != 0)
            QWidget::setCursor(TVrCursors::Cursor(m_shownCursor, devicePixelRatioF()));
        update();
    }
    return QWidget::event(event);
}

void VrControl::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
        FontChanged();
        break;
    case QEvent::EnabledChange:
        EnabledChanged();
        break;
    case QEvent::PaletteChange:
        // System colours resolve through the palette at drawing time.
        UpdateControlCanvas();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

bool VrControl::FocusShown() const {
    return m_focused && window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void VrControl::PaintFocusFrame(QPainter& Canvas, const QRect& Rect) const {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = Rect;
    option.backgroundColor = ResolvedColor();
    Canvas.save();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &Canvas, this);
    Canvas.restore();
}

void VrControl::AccessibleStateChanged(QAccessible::State Changed) {
    if (!QAccessible::isActive())
        return;
    QAccessibleStateChangeEvent event(this, Changed);
    QAccessible::updateAccessibility(&event);
}

void VrControl::AccessibleValueChanged(const QVariant& Value) {
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, Value);
    QAccessible::updateAccessibility(&event);
}

void VrControl::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
    emit OnKeyDown(this, Key, Shift);
}

void VrControl::KeyUp(int Key, Qt::KeyboardModifiers Shift) {
    emit OnKeyUp(this, Key, Shift);
}

void VrControl::KeyPress(QChar Key) {
    emit OnKeyPress(this, Key);
}

void VrControl::FocusChanged(bool Focused) {
    m_focused = Focused;
}

namespace {

// Keys a dialog acts on pass on to the parent after the control has seen them.
bool PassesOn(int key) {
    return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

void VrControl::keyPressEvent(QKeyEvent* event) {
    KeyDown(event->key(), event->modifiers());
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        KeyPress(text.at(0));
    if (PassesOn(event->key()))
        event->ignore();
    else
        event->accept();
}

void VrControl::keyReleaseEvent(QKeyEvent* event) {
    // The toolkit repeats a held key as press/release pairs; only the real release counts.
    if (!event->isAutoRepeat())
        KeyUp(event->key(), event->modifiers());
    if (PassesOn(event->key()))
        event->ignore();
    else
        event->accept();
}

void VrControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    FocusChanged(true);
}

void VrControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    FocusChanged(false);
}

void VrControl::SetMouseInside(bool Inside) {
    if (Inside == m_mouseInside)
        return;
    m_mouseInside = Inside;
    if (Inside)
        MouseEnter();
    else
        MouseLeave();
}
