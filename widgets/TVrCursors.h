#pragma once

#include <QCursor>

// Numbered cursors, as the widgets' Cursor property names them. The pointing hand of the widget
// family is registered as number 99 the first time any cursor is looked up.
constexpr int crDefault = 0;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crHourGlass = -11;
constexpr int crVrHandPoint = 99;

class TVrCursors {
public:
    // The cursor registered under Id; the arrow for an unknown number. Needs a QGuiApplication.
    static QCursor Cursor(int Id);
    static void Register(int Id, const QCursor& Cursor);

    // The hand cursor's picture (32x32) and hot spot at the fingertip.
    static QImage HandPointImage();
    static QPoint HandPointHotSpot();
};
