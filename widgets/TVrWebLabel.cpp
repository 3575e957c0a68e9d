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
    if (!VrShellOpen(m_url))
        emit OnError(this);
}
