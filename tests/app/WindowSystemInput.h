#pragma once

#include <QPoint>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

// User input as the window system delivers it: queued, and handled by the event loop later, not
// sent to the widget at once as QTest's events are. The target's window needs a native handle
// (winId()); it need not be shown.
inline void queueClick(QWidget* target, QPoint at = QPoint(-1, -1)) {
    if (at == QPoint(-1, -1))
        at = target->rect().center();
    QWidget* top = target->window();
    QWindow* window = top->windowHandle();
    const QPointF local = target->mapTo(top, at);
    const QPointF global = target->mapToGlobal(at);
    using Delivery = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Delivery>(window, local, global, Qt::LeftButton, Qt::LeftButton,
                                                       QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Delivery>(window, local, global, Qt::NoButton, Qt::LeftButton,
                                                       QEvent::MouseButtonRelease);
}

// The window system's request to close the target's window, queued as a click is.
inline void queueClose(QWidget* target) {
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        target->window()->windowHandle());
}
