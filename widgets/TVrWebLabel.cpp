#include "TVrWebLabel.h"

#include "TVrCursors.h"
#include "VrShellOpen.h"

TVrWebLabel::TVrWebLabel(QWidget* parent) : TVrHyperLink(parent) {
    SetCursor(crVrHandPoint);
}

void TVrWebLabel::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, int, int) {
    if (Button != Qt::LeftButton || !Hovering())
        return;
    UpdateControlCanvas();
    Open();
}

void TVrWebLabel::Follow() {
    Click();
    Open();
}

void TVrWebLabel::KeyUp(int Key, Qt::KeyboardModifiers Shift) {
    TVrHyperLink::KeyUp(Key, Shift);
    // Released, not pressed: a held key repeats its presses, and one press opens one window.
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Space)
        Follow();
}

void TVrWebLabel::Open() {
    if (!VrShellOpen(m_url))
        emit OnError(this);
}
