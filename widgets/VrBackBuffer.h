#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <functional>

class QPaintEvent;
class QPainter;
class QWidget;

// The back buffer of the image controls: the picture is drawn into it whole, then shown with one
// blit; a widget that updated a piece of the buffer itself can show just that piece. User-interface
// thread only.
class VrBackBuffer {
public:
    QImage& Image() { return m_image; }

    // Sizes the buffer to Size, lets Draw paint into it and copies it to Canvas at (0, 0). False,
    // with nothing drawn, for an empty Size.
    bool PaintTo(QPainter& Canvas, QSize Size, const std::function<void(QPainter&)>& Draw);
    // Shows Rect of the buffer on Widget at once, without drawing the picture again. False, with
    // nothing shown, when the buffer no longer has Widget's size: the picture is to be drawn anew.
    bool ShowPart(QWidget& Widget, const QRect& Rect);
    // Serves a paint event that ShowPart started by copying from the buffer; false for any other.
    bool ServePaintEvent(QWidget& Widget, const QPaintEvent& Event);

private:
    QImage m_image;
    bool m_showingPart = false;
};
