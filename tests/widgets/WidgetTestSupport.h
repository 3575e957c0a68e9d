#pragma once

#include "TColor.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPalette>
#include <QWidget>
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

// True when every pixel of the rectangle has the colour.
inline bool AllPixels(const QImage& image, const QRect& rect, TColor color) {
    const TColor want = Resolved(color);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (Px(image, x, y) != want)
                return false;
    return true;
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
