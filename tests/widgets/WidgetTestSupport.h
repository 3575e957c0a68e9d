#pragma once

#include "TColor.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>
#include <cmath>
#include <string>

// A white image to draw on, and pixel checks that print readable colours on failure.
inline QImage WhiteImage(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

inline TColor Px(const QImage& image, int x, int y) {
    return QColorToColor(image.pixelColor(x, y));
}

inline TColor Resolved(TColor color) {
    return ColorToRGB(color);
}

// The picture with the style's focus frame for `widget` (focused, the keyboard having brought the
// focus) drawn over `rect`: what a widget that uses the platform's frame shows.
inline QImage WithFocusFrame(QImage image, const QWidget& widget, const QRect& rect,
                             const QColor& background) {
    QPainter p(&image);
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    option.rect = rect;
    option.backgroundColor = background;
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, &widget);
    return image;
}

// True when every pixel of the rectangle has the colour.
inline bool AllPixels(const QImage& image, const QRect& rect, TColor color) {
    const TColor want = Resolved(color);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (Px(image, x, y) != want)
                return false;
    return true;
}

// The pixel covering device pixel `device` of a picture drawn at `ratio` whose origin lies at device
// position `origin`: the toolkit rounds each logical edge to the nearest device pixel, halves up.
inline int LogicalPixel(int device, qreal ratio, qreal origin = 0) {
    const auto edge = [&](int logical) { return int(std::floor(origin + logical * ratio + 0.5)); };
    int logical = int(std::floor((device - edge(0)) / ratio));
    while (edge(logical) > device)
        --logical;
    while (edge(logical + 1) <= device)
        ++logical;
    return logical;
}

// Device pixels of `scaled` (a picture drawn at `ratio`, its origin at device position `origin`) that
// differ from the pixel of the 1x picture they cover; pixels of the logical rectangle `skip` (text, say)
// are not compared. Zero means the 1x pixel rules hold at the ratio, with hard edges.
inline int ScaledPixelMismatches(const QImage& oneX, const QImage& scaled, qreal ratio, QPointF origin = {},
                                 const QRect& skip = {}) {
    int mismatches = 0;
    const int first = int(std::floor(origin.x() + 0.5));
    const int top = int(std::floor(origin.y() + 0.5));
    for (int y = top; y < scaled.height(); ++y) {
        const int ly = LogicalPixel(y, ratio, origin.y());
        if (ly >= oneX.height())
            break;
        for (int x = first; x < scaled.width(); ++x) {
            const int lx = LogicalPixel(x, ratio, origin.x());
            if (lx >= oneX.width())
                break;
            if (!skip.contains(lx, ly) && scaled.pixel(x, y) != oneX.pixel(lx, ly))
                ++mismatches;
        }
    }
    return mismatches;
}

// Aligned 2 x 2 blocks of the 2x picture inside the logical rectangle that are not one colour, and
// the blocks that hold any ink (a pixel other than `background`). A 1x picture blown up to 2x has no
// mixed block at all.
struct Blocks {
    int mixed = 0;
    int inked = 0;
};

inline Blocks TwoByTwoBlocks(const QImage& twoX, const QRect& logical, QRgb background) {
    Blocks b;
    for (int y = logical.top(); y <= logical.bottom(); ++y)
        for (int x = logical.left(); x <= logical.right(); ++x) {
            const QRgb p[] = {twoX.pixel(2 * x, 2 * y), twoX.pixel(2 * x + 1, 2 * y),
                              twoX.pixel(2 * x, 2 * y + 1), twoX.pixel(2 * x + 1, 2 * y + 1)};
            b.mixed += !(p[0] == p[1] && p[0] == p[2] && p[0] == p[3]);
            b.inked += p[0] != background || p[1] != background || p[2] != background || p[3] != background;
        }
    return b;
}

// A parent that paints itself in one colour, for controls drawn over their parent.
inline void FillBackground(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Records the rectangles of the paint events a widget receives.
class PaintRects : public QObject {
public:
    explicit PaintRects(QWidget* widget) { widget->installEventFilter(this); }
    QList<QRect> rects;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            rects << static_cast<QPaintEvent*>(event)->rect();
        return false;
    }
};

#include <QApplication>
#include <QMouseEvent>

// A pointer move with the left button held, delivered as the toolkit delivers it to the widget
// that took the press (wherever the pointer is).
inline void DragTo(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), widget->mapToGlobal(QPointF(pos)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// A double click as the window system delivers it: press, release, double-click press, release.
inline void DoubleClick(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(pos);
    const QPointF global = widget->mapToGlobal(local);
    const QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease};
    for (QEvent::Type type : types) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}
