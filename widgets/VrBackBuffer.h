#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <functional>

class QPaintEvent;
class QPainter;
class QWidget;

// The back buffer of the image controls: the picture is drawn into it whole, then shown with one
// blit; a widget that updated a piece of the buffer itself can show just that piece.
//
// The buffer takes the device pixel ratio of what it is shown on (the screen's, or an image's when
// rendered into one), so a 2x screen gets a picture drawn at 2x, not a 1x picture blown up. At a
// fractional ratio a widget's origin may fall between device pixels; the buffer is then laid on the
// device pixels the widget covers and drawn shifted by that fraction, so it rounds its edges exactly as
// a widget painting straight on the screen would and the blit copies it pixel for pixel.
// User-interface thread only.
class VrBackBuffer {
public:
    QImage& Image() { return m_image; }
    // Device pixels per pixel of the present picture.
    qreal Ratio() const { return m_image.isNull() ? 1.0 : m_image.devicePixelRatio(); }

    // Lays the buffer out for a picture of Size on Canvas, lets Draw paint into it and copies it to
    // Canvas at (0, 0). False, with nothing drawn, for an empty Size.
    bool PaintTo(QPainter& Canvas, QSize Size, const std::function<void(QPainter&)>& Draw);
    // Whether the picture was drawn for Widget as it is on its screen now (size, ratio, position
    // between device pixels).
    bool Fits(const QWidget& Widget) const;
    // Lets Draw change a piece of the picture, with the painter laid out as for the whole picture.
    void Update(const std::function<void(QPainter&)>& Draw);
    // Shows Rect of the buffer on Widget at once, without drawing the picture again. False, with
    // nothing shown, when the buffer does not fit Widget any more: the picture is to be drawn anew.
    bool ShowPart(QWidget& Widget, const QRect& Rect);
    // Serves a paint event that ShowPart started by copying from the buffer; false for any other.
    bool ServePaintEvent(QWidget& Widget, const QPaintEvent& Event);

private:
    struct Layout {
        QSize size;        // pixels
        qreal ratio = 1.0; // device pixels per pixel
        QPointF shift;     // where the device grid puts the picture's origin, in pixels
        QSize deviceSize;  // device pixels covered
        bool operator==(const Layout&) const = default;
    };
    static Layout LayoutFor(QSize Size, qreal Ratio, QPointF DeviceOrigin);

    QImage m_image;
    Layout m_layout;
    bool m_showingPart = false;
};
