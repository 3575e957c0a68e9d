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

// User-interface thread only.
class TVrCursors {
public:
    // The cursor registered under Id, for a screen with Ratio device pixels per pixel; the arrow for
    // an unknown number. The built-in hand is drawn at the ratio from its pixels (64x64 at 2x), so it
    // keeps its size on the screen. Needs a QGuiApplication.
    static QCursor Cursor(int Id, qreal Ratio = 1.0);
    // Replaces the cursor under Id at every ratio.
    static void Register(int Id, const QCursor& Cursor);

    // The hand cursor's picture (32x32 at 1x, carrying Ratio) and its hot spot at the fingertip, in
    // the picture's own (device) pixels.
    static QImage HandPointImage(qreal Ratio = 1.0);
    static QPoint HandPointHotSpot(qreal Ratio = 1.0);
    // The fingertip as the named Qt platform reads a cursor's hot spot. Qt's own rule is pixels of the
    // picture's logical size, as Wayland takes it (it scales the spot by the picture's ratio); Qt's X11
    // platform takes it in the picture's device pixels. Given in the wrong unit the spot lands off by
    // the ratio: 6 logical pixels beside the fingertip at 2x.
    static QPoint HandPointHotSpotFor(const QString& Platform, qreal Ratio);
};
