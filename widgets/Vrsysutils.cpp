#include "Vrsysutils.h"

#include "VrDevicePixels.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

void Segment(QPainter& canvas, QPoint from, QPoint to, const QColor& color) {
    if (from.y() == to.y()) {
        const int y = from.y();
        if (to.x() > from.x())
            canvas.fillRect(QRect(from.x(), y, to.x() - from.x(), 1), color);
        else if (to.x() < from.x())
            canvas.fillRect(QRect(to.x() + 1, y, from.x() - to.x(), 1), color);
    } else if (from.x() == to.x()) {
        const int x = from.x();
        if (to.y() > from.y())
            canvas.fillRect(QRect(x, from.y(), 1, to.y() - from.y()), color);
        else
            canvas.fillRect(QRect(x, to.y() + 1, 1, from.y() - to.y()), color);
    } else {
        // Not used by the widgets; a plain DDA keeps the "no end point" rule for completeness.
        const int dx = to.x() - from.x();
        const int dy = to.y() - from.y();
        const int n = std::max(std::abs(dx), std::abs(dy));
        for (int i = 0; i < n; ++i)
            canvas.fillRect(QRect(from.x() + RoundHalfEven(double(dx) * i / n),
                                  from.y() + RoundHalfEven(double(dy) * i / n), 1, 1),
                            color);
    }
}

void Frame(QPainter& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width, int endShift) {
    if (width <= 0)
        return;
    const QColor top = ColorToQColor(topColor);
    const QColor bottom = ColorToQColor(bottomColor);
    rect.Bottom -= 1;
    rect.Right -= 1;
    for (int i = 0; i < width; ++i) {
        Segment(canvas, {rect.Left, rect.Bottom}, {rect.Left, rect.Top}, top);
        Segment(canvas, {rect.Left, rect.Top}, {rect.Right, rect.Top}, top);
        Segment(canvas, {rect.Right, rect.Top}, {rect.Right, rect.Bottom}, bottom);
        Segment(canvas, {rect.Right, rect.Bottom}, {rect.Left + endShift, rect.Bottom}, bottom);
        InflateRect(rect, -1, -1);
    }
    rect.Bottom += 1;
    rect.Right += 1;
}

int Channel(int start, int end, int offset, int extent) {
    return std::clamp(RoundHalfEven(start + double(end - start) * offset / extent), 0, 255);
}

} // namespace

int ThumbFrameIndex(bool enabled, bool dragging, bool hovering, int frameCount) {
    int index = 0;
    if (!enabled)
        index = 1;
    else if (dragging)
        index = 2;
    else if (hovering)
        index = 3;
    return index > frameCount - 1 ? 0 : index;
}

void DrawBitmapFrame(QPainter& canvas, const QImage& image, int frameIndex, int frameWidth, int x, int y,
                     bool opaque) {
    if (image.isNull() || frameWidth <= 0)
        return;
    QImage frame = image.copy(frameIndex * frameWidth, 0, frameWidth, image.height());
    if (!opaque) {
        const QRgb key = image.pixel(0, image.height() - 1);
        frame = frame.convertToFormat(QImage::Format_ARGB32);
        for (int row = 0; row < frame.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(frame.scanLine(row));
            for (int col = 0; col < frame.width(); ++col)
                if (line[col] == key)
                    line[col] = 0;
        }
    }
    vrDrawPixelArt(canvas, QPoint(x, y), frame);
}

int RoundHalfEven(double value) {
    return int(std::nearbyint(value));
}

void PolyLine(QPainter& canvas, std::initializer_list<QPoint> points, TColor color) {
    const QColor c = ColorToQColor(color);
    const QPoint* prev = nullptr;
    for (const QPoint& p : points) {
        if (prev)
            Segment(canvas, *prev, p, c);
        prev = &p;
    }
}

void LineTo(QPainter& canvas, int x1, int y1, int x2, int y2, TColor color) {
    Segment(canvas, {x1, y1}, {x2, y2}, ColorToQColor(color));
}

void FillRect(QPainter& canvas, const TRect& rect, TColor color) {
    if (!rect.IsEmpty())
        canvas.fillRect(rect.ToQRect(), ColorToQColor(color));
}

void DrawFrame3D(QPainter& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    Frame(canvas, rect, topColor, bottomColor, width, -1);
}

void DrawOutline3D(QPainter& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    Frame(canvas, rect, topColor, bottomColor, width, 0);
}

void DrawGradient(QPainter& canvas, const TRect& rect, TColor startColor, TColor endColor, int direction,
                  int step) {
    if ((direction != 0 && direction != 1) || step <= 0)
        return;
    const TColor s = ColorToRGB(startColor);
    const TColor e = ColorToRGB(endColor);
    const int extent = std::max(1, direction == 0 ? rect.Height() : rect.Width());
    TRect band = direction == 0 ? Bounds(rect.Left, rect.Top, rect.Width(), step)
                                : Bounds(rect.Left, rect.Top, step, rect.Height());
    for (int offset = 0; offset <= extent; offset += step) {
        const QColor c(Channel(GetRValue(s), GetRValue(e), offset, extent),
                       Channel(GetGValue(s), GetGValue(e), offset, extent),
                       Channel(GetBValue(s), GetBValue(e), offset, extent));
        if (!band.IsEmpty())
            canvas.fillRect(band.ToQRect(), c);
        if (direction == 0)
            OffsetRect(band, 0, step);
        else
            OffsetRect(band, step, 0);
    }
}

void DrawGradientExt(QPainter& canvas, const TRect& rect, TColor startColor, TColor endColor, int style,
                     int step) {
    if (style != 1 || step <= 0)
        return;
    const TColor s = ColorToRGB(startColor);
    const TColor e = ColorToRGB(endColor);
    const int h = rect.Height();
    if (s == e) {
        // One colour all the way: the bands it would be drawn in, as one fill (a lamp's gradient is
        // usually a solid colour, painted with every exchange).
        const TRect bands = Bounds(rect.Left, rect.Top, rect.Width(), (h + step - 1) / step * step);
        if (h > 0 && !bands.IsEmpty())
            canvas.fillRect(bands.ToQRect(), ColorToQColor(s));
        return;
    }
    TRect band = Bounds(rect.Left, rect.Top, rect.Width(), step);
    for (int y = 0; y < h; y += step) {
        const QColor c(GetRValue(s) + (GetRValue(e) - GetRValue(s)) * y / h,
                       GetGValue(s) + (GetGValue(e) - GetGValue(s)) * y / h,
                       GetBValue(s) + (GetBValue(e) - GetBValue(s)) * y / h);
        if (!band.IsEmpty())
            canvas.fillRect(band.ToQRect(), c);
        OffsetRect(band, 0, step);
    }
}
