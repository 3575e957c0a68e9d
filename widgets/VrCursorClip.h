#pragma once

#include <QPoint>

class QWidget;

// Keeps the pointer inside one widget's client area while a thumb is dragged. The windowing
// system offers no confinement here, so the pointer is moved back whenever a move event finds it
// outside. One confinement at a time, user-interface thread only.
class VrCursorClip {
public:
    static void Confine(QWidget* Widget);
    // Ends the confinement if Widget holds it (any widget when null).
    static void Release(QWidget* Widget = nullptr);
    static bool IsConfined(const QWidget* Widget);
    // Called with each pointer position seen by Widget; pulls the pointer back when outside.
    static void Enforce(QWidget* Widget, QPoint GlobalPos);
};
