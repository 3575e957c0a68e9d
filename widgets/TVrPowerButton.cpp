#include "TVrPowerButton.h"

#include "Vrsysutils.h"

#include <QEvent>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>
#include <algorithm>

namespace {

constexpr int kCaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

} // namespace

TVrPowerButton::TVrPowerButton(QWidget* parent) : TVrCustomImageControl(parent) {
    // The button clicks on its own terms (after toggling), never on the toolkit's.
    SetClickEvents(false);
    SetDoubleClicks(false);
    SetColor(clBtnFace);
    resize(125, 25);
    m_palette.OnChange = [this](TVrPersistent*) { UpdateControlCanvas(); };
    ComputeLayout();
}

namespace {

QAccessible::State CheckedState() {
    QAccessible::State state;
    state.checked = true;
    return state;
}

} // namespace

void TVrPowerButton::SetActive(bool Value) {
    if (Value == m_active)
        return;
    m_active = Value;
    UpdateControlCanvas();
    AccessibleStateChanged(CheckedState());
}

void TVrPowerButton::FlipActive() {
    m_active = !m_active;
    UpdateControlCanvas();
    AccessibleStateChanged(CheckedState());
}

void TVrPowerButton::Toggle() {
    m_down = false;
    FlipActive();
    Click();
}

void TVrPowerButton::Relayout() {
    ComputeLayout();
    UpdateControlCanvas();
}

void TVrPowerButton::SetLedWidth(int Value) {
    Value = std::max(1, Value);
    if (Value == m_ledWidth)
        return;
    m_ledWidth = Value;
    Relayout();
}

void TVrPowerButton::SetLedHeight(int Value) {
    Value = std::max(1, Value);
    if (Value == m_ledHeight)
        return;
    m_ledHeight = Value;
    Relayout();
}

void TVrPowerButton::SetLayout(TVrImageTextLayout Value) {
    if (Value == m_layout)
        return;
    m_layout = Value;
    Relayout();
}

void TVrPowerButton::SetMargin(int Value) {
    if (Value == m_margin)
        return;
    m_margin = Value;
    Relayout();
}

void TVrPowerButton::SetSpacing(int Value) {
    if (Value == m_spacing)
        return;
    m_spacing = Value;
    Relayout();
}

void TVrPowerButton::SetIntAndRepaint(int& field, int value) {
    if (value == field)
        return;
    field = value;
    UpdateControlCanvas();
}

void TVrPowerButton::SetColorAndRepaint(TColor& field, TColor value) {
    if (value == field)
        return;
    field = value;
    UpdateControlCanvas();
}

void TVrPowerButton::SetFocusColor(TColor Value) {
    SetColorAndRepaint(m_focusColor, Value);
}

void TVrPowerButton::SetOutlineColor(TColor Value) {
    SetColorAndRepaint(m_outlineColor, Value);
}

// The bevel and outline widths take effect in the drawing at once but move lamp and caption only
// at the next layout (size, font, caption or lamp change).
void TVrPowerButton::SetOutlineWidth(int Value) {
    SetIntAndRepaint(m_outlineWidth, std::clamp(Value, 0, 255));
}

void TVrPowerButton::SetHighlightColor(TColor Value) {
    SetColorAndRepaint(m_highlightColor, Value);
}

void TVrPowerButton::SetShadowColor(TColor Value) {
    SetColorAndRepaint(m_shadowColor, Value);
}

void TVrPowerButton::SetBevelWidth(int Value) {
    SetIntAndRepaint(m_bevelWidth, std::clamp(Value, 0, 255));
}

void TVrPowerButton::ComputeLayout() {
    VrButtonLayout::Input in;
    in.Client = TRect{0, 0, width(), height()};
    const int inset = m_bevelWidth + m_outlineWidth;
    InflateRect(in.Client, -inset, -inset);
    if (!Caption().isEmpty()) {
        const QRect measured = QFontMetrics(font()).boundingRect(
            QRect(0, 0, std::max(0, in.Client.Width()), 0), kCaptionFlags, Caption());
        in.TextWidth = measured.width();
        in.TextHeight = measured.height();
    }
    in.LedWidth = m_ledWidth;
    in.LedHeight = m_ledHeight;
    in.Layout = m_layout;
    in.Margin = m_margin;
    in.Spacing = m_spacing;
    m_layoutRects = VrButtonLayout::Compute(in);
}

void TVrPowerButton::Paint(QPainter& Canvas) {
    ClearBitmapCanvas(Canvas);
    const TRect client{0, 0, width(), height()};
    TRect r = client;
    const TColor outline = FocusShown() ? m_focusColor : m_outlineColor;
    DrawFrame3D(Canvas, r, outline, outline, m_outlineWidth);
    if (m_down) {
        // The pressed frame covers the outline, the focus colour included.
        r = client;
        DrawFrame3D(Canvas, r, m_outlineColor, m_highlightColor, m_outlineWidth);
        DrawFrame3D(Canvas, r, m_shadowColor, m_outlineColor, m_bevelWidth);
    } else {
        DrawFrame3D(Canvas, r, m_highlightColor, m_shadowColor, m_bevelWidth);
    }

    TRect lamp = m_layoutRects.Lamp;
    DrawFrame3D(Canvas, lamp, m_shadowColor, m_highlightColor, 1);
    DrawFrame3D(Canvas, lamp, clBlack, clBlack, 1);
    if (isEnabled())
        FillRect(Canvas, lamp, m_active ? m_palette.High() : m_palette.Low());
    else if (!lamp.IsEmpty())
        Canvas.fillRect(lamp.ToQRect(), ResolvedColor());

    if (Caption().isEmpty())
        return;
    Canvas.setFont(font());
    const QRect text = m_layoutRects.Caption.ToQRect();
    if (isEnabled()) {
        Canvas.setPen(ColorToQColor(FontColor()));
        Canvas.drawText(text, Qt::AlignCenter | kCaptionFlags, Caption());
    } else {
        const int flags = Qt::AlignLeft | Qt::AlignTop | kCaptionFlags;
        Canvas.setPen(ColorToQColor(clBtnHighlight));
        Canvas.drawText(text.translated(1, 1), flags, Caption());
        Canvas.setPen(ColorToQColor(clBtnShadow));
        Canvas.drawText(text, flags, Caption());
    }
}

void TVrPowerButton::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    if (Button == Qt::LeftButton) {
        m_held = true;
        m_down = true;
        UpdateControlCanvas();
        if (TabStop())
            setFocus(Qt::MouseFocusReason);
    }
    TVrCustomImageControl::MouseDown(Button, Shift, X, Y);
}

void TVrPowerButton::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    m_held = false;
    bool click = false;
    if (m_down) {
        m_down = false;
        FlipActive();
        click = true;
    }
    TVrCustomImageControl::MouseUp(Button, Shift, X, Y);
    if (click)
        Click();
}

void TVrPowerButton::MouseEnter() {
    if (m_held)
        m_down = true;
    UpdateControlCanvas();
    TVrCustomImageControl::MouseEnter();
}

void TVrPowerButton::MouseLeave() {
    if (m_held)
        m_down = false;
    UpdateControlCanvas();
    TVrCustomImageControl::MouseLeave();
}

void TVrPowerButton::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
    TVrCustomImageControl::KeyDown(Key, Shift);
    if (Key == Qt::Key_Space) {
        m_down = true;
        UpdateControlCanvas();
    }
}

void TVrPowerButton::KeyUp(int Key, Qt::KeyboardModifiers Shift) {
    TVrCustomImageControl::KeyUp(Key, Shift);
    if (Key != Qt::Key_Space)
        return;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    Toggle();
}

void TVrPowerButton::FocusChanged(bool Focused) {
    TVrCustomImageControl::FocusChanged(Focused);
    UpdateControlCanvas();
}

void TVrPowerButton::EnabledChanged() {
    UpdateControlCanvas();
}

void TVrPowerButton::FontChanged() {
    Relayout();
}

void TVrPowerButton::TextChanged() {
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(Caption());
    m_shortcutId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    Relayout();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TVrPowerButton::resizeEvent(QResizeEvent* event) {
    TVrCustomImageControl::resizeEvent(event);
    Relayout();
}

bool TVrPowerButton::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        // The caption's accelerator clicks without toggling.
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            if (isEnabled())
                Click();
            return true;
        }
    }
    return TVrCustomImageControl::event(event);
}
