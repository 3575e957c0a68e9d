#include "VrDevicePixels.h"

#include <QPainter>
#include <QtMath>
#include <cmath>
#include <vector>

namespace {

// For each device pixel of the art, the art pixel covering it: art pixel i spans the device pixels
// from the rounded edge at origin + i * ratio to the one at origin + (i + 1) * ratio.
std::vector<int> SourceIndex(qreal origin, int count, qreal ratio) {
    std::vector<int> index;
    const int first = vrDeviceEdgeAt(origin);
    for (int i = 0; i < count; ++i) {
        const int from = vrDeviceEdgeAt(origin + i * ratio) - first;
        const int to = vrDeviceEdgeAt(origin + (i + 1) * ratio) - first;
        for (int d = from; d < to; ++d)
            index.push_back(i);
    }
    return index;
}

} // namespace

qreal vrPaintRatio(const QPainter& canvas) {
    // The painter's own scale to device pixels: the device's ratio, also where the toolkit redirects a
    // widget's painting into another device (a widget rendered into an image of another ratio).
    const qreal scale = std::abs(canvas.deviceTransform().m11());
    return scale > 0 ? scale : 1.0;
}

int vrDeviceEdgeAt(qreal position) {
    return qFloor(position + 0.5);
}

int vrDeviceEdge(int edge, qreal ratio) {
    return vrDeviceEdgeAt(edge * ratio);
}

QImage vrDeviceImage(QSize size, qreal ratio) {
    QImage image(vrDeviceEdge(size.width(), ratio), vrDeviceEdge(size.height(), ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage vrScalePixelArt(const QImage& image, qreal ratio, QPointF origin) {
    if (ratio == 1.0 || image.isNull())
        return image;
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const std::vector<int> columns = SourceIndex(origin.x(), source.width(), ratio);
    const std::vector<int> rows = SourceIndex(origin.y(), source.height(), ratio);
    QImage scaled(int(columns.size()), int(rows.size()), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < scaled.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(rows[y]));
        auto* to = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x)
            to[x] = from[columns[x]];
    }
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

void vrDrawPixelArt(QPainter& canvas, QPoint at, const QImage& image) {
    const qreal ratio = vrPaintRatio(canvas);
    if (ratio == 1.0) {
        canvas.drawImage(at, image);
        return;
    }
    // Where `at` lands on the device (the canvas may be shifted by a fraction of a device pixel), and
    // the logical point that lands exactly on the device pixel the art starts at, so the redrawn art
    // is copied pixel for pixel.
    const QTransform toDevice = canvas.deviceTransform();
    const QPointF origin = toDevice.map(QPointF(at));
    const QPointF start(vrDeviceEdgeAt(origin.x()), vrDeviceEdgeAt(origin.y()));
    const QPointF place = toDevice.inverted().map(start);
    canvas.drawImage(place, vrScalePixelArt(image, ratio, origin));
}
