#include "VrCursorClip.h"

#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace {

QPointer<QWidget>& Holder() {
    static QPointer<QWidget> holder;
    return holder;
}

} // namespace

void VrCursorClip::Confine(QWidget* Widget) {
    Holder() = Widget;
}

void VrCursorClip::Release(QWidget* Widget) {
    if (!Widget || Holder() == Widget)
        Holder() = nullptr;
}

bool VrCursorClip::IsConfined(const QWidget* Widget) {
    return Widget && Holder() == Widget;
}

void VrCursorClip::Enforce(QWidget* Widget, QPoint GlobalPos) {
    if (!IsConfined(Widget))
        return;
    const QPoint topLeft = Widget->mapToGlobal(QPoint(0, 0));
    const QPoint clamped(std::clamp(GlobalPos.x(), topLeft.x(), topLeft.x() + Widget->width() - 1),
                         std::clamp(GlobalPos.y(), topLeft.y(), topLeft.y() + Widget->height() - 1));
    if (clamped != GlobalPos)
        QCursor::setPos(clamped);
}
