#include "TVrGraphicControl.h"

TVrGraphicControl::TVrGraphicControl(QWidget* parent) : VrControl(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TVrGraphicControl::SetAutoSize(bool Value) {
    if (Value == m_autoSize)
        return;
    m_autoSize = Value;
    UpdateControlBounds();
}

void TVrGraphicControl::UpdateControlBounds() {
    if (m_autoSize)
        AdjustControlSize();
    else
        UpdateControlCanvas();
}

void TVrGraphicControl::AdjustControlSize() {
    if (IsLoading())
        return;
    const QRect before = geometry();
    const QSize bounded = before.size().expandedTo(minimumSize()).boundedTo(maximumSize());
    setGeometry(QRect(before.topLeft(), bounded));
    if (geometry() != before)
        UpdateControlCanvas();
}
