#include "TVrCustomControl.h"

#include <QKeyEvent>

TVrCustomControl::TVrCustomControl(QWidget* parent) : VrControl(parent) {
    // Clicks focus only where a widget asks for it; setFocus() works regardless of the policy.
    setFocusPolicy(Qt::NoFocus);
}

void TVrCustomControl::SetTabStop(bool Value) {
    if (Value == m_tabStop)
        return;
    m_tabStop = Value;
    setFocusPolicy(Value ? Qt::TabFocus : Qt::NoFocus);
}

void TVrCustomControl::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
    emit OnKeyDown(this, Key, Shift);
}

void TVrCustomControl::KeyUp(int Key, Qt::KeyboardModifiers Shift) {
    emit OnKeyUp(this, Key, Shift);
}

void TVrCustomControl::KeyPress(QChar Key) {
    emit OnKeyPress(this, Key);
}

void TVrCustomControl::FocusChanged(bool Focused) {
    m_focused = Focused;
    if (Focused)
        emit OnEnter(this);
    else
        emit OnExit(this);
}

namespace {

// Keys a dialog acts on pass on to the parent after the control has seen them.
bool PassesOn(int key) {
    return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

void TVrCustomControl::keyPressEvent(QKeyEvent* event) {
    KeyDown(event->key(), event->modifiers());
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        KeyPress(text.at(0));
    if (PassesOn(event->key()))
        event->ignore();
    else
        event->accept();
}

void TVrCustomControl::keyReleaseEvent(QKeyEvent* event) {
    // The toolkit repeats a held key as press/release pairs; only the real release counts.
    if (!event->isAutoRepeat())
        KeyUp(event->key(), event->modifiers());
    if (PassesOn(event->key()))
        event->ignore();
    else
        event->accept();
}

void TVrCustomControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    FocusChanged(true);
}

void TVrCustomControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    FocusChanged(false);
}
