#include "TVrCustomControl.h"

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

void TVrCustomControl::FocusChanged(bool Focused) {
    VrControl::FocusChanged(Focused);
    if (Focused)
        emit OnEnter(this);
    else
        emit OnExit(this);
}
