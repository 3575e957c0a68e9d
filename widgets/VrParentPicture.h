#pragma once

#include <QColor>

class QPainter;
class QWidget;

// What a widget's ancestors paint under it, the widget and its siblings left out: the nearest
// ancestor that paints its whole background (a window, a widget filling its background, an opaque
// widget) and every ancestor between it and the parent drawing over it, as the screen shows them (a
// group box's face and frame over a tab page's pane over the window). A style may paint a group box
// darker than the palette's window colour says; this is what it paints. User-interface thread only.
class VrParentPicture {
public:
    // Paints the picture on Canvas over the widget's rectangle (0, 0, width, height) in Canvas's
    // coordinates, at Canvas's scale. False, with nothing painted, for a widget without a parent.
    static bool Paint(const QWidget& Widget, QPainter& Canvas);
    // The colour covering most of the picture (a frame line or a title edge under the widget does not
    // count against the face); invalid for a widget without a parent or without a size.
    static QColor MainColor(const QWidget& Widget);
};
