#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

class QPainter;

// Drawing on screens with more than one device pixel per pixel (2x, or fractional ratios such as 1.25
// and 1.5). The widgets keep their geometry and their pixel rules in logical pixels; drawn at a higher
// ratio, every logical edge lands on the device pixel the toolkit's raster engine rounds it to, so fills
// and lines stay sharp (a one-pixel line covers one or two device pixels at 1.5, never a blend) and
// text is drawn at the screen's own resolution.

// Device pixels per pixel of what Canvas paints on (any scale the painter itself was given included).
qreal vrPaintRatio(const QPainter& canvas);

// The device pixel an edge at device position `position` falls on: the raster engine rounds halves up.
int vrDeviceEdgeAt(qreal position);

// The device pixel a logical edge lands on at `ratio`, for a picture whose origin is on a device pixel.
int vrDeviceEdge(int edge, qreal ratio);

// An image for a picture of `size` pixels at `ratio`, carrying the ratio: the device pixels a fill of
// the whole picture covers. Uninitialised, like any new image.
QImage vrDeviceImage(QSize size, qreal ratio);

// A pixel-art image (one image pixel per logical pixel: thumbs, the hand cursor) redrawn at `ratio`
// when its logical origin lands at device position `origin`: each image pixel covers exactly the device
// pixels a one-pixel fill at its place would, so the art lines up with the frames around it and keeps
// hard edges (a plain doubling at 2x). The result carries the ratio; at a ratio of 1 it is the image.
QImage vrScalePixelArt(const QImage& image, qreal ratio, QPointF origin = QPointF());

// Draws a pixel-art image with its top-left corner at `at`, redrawn for the canvas's ratio.
void vrDrawPixelArt(QPainter& canvas, QPoint at, const QImage& image);
