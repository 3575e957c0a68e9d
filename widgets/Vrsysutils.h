#pragma once

#include "TColor.h"
#include "TRect.h"

#include <QPoint>
#include <initializer_list>

class QImage;
class QPainter;

// Drawing routines shared by the widgets. They paint pixel-exactly with solid fills (no
// antialiasing, no pen geometry), so the same call gives the same pixels on every platform.

// A poly-line of one pixel width in the given colour. Every segment paints its start point but not
// its end point, so the last point of the line stays unpainted. Segments must be horizontal or
// vertical (all frames and scales are).
void PolyLine(QPainter& canvas, std::initializer_list<QPoint> points, TColor color);

// A line from (x1, y1) to (x2, y2), the end point not painted (axis-parallel only).
void LineTo(QPainter& canvas, int x1, int y1, int x2, int y2, TColor color);

void FillRect(QPainter& canvas, const TRect& rect, TColor color);

// Width nested one-pixel frames, top-left edges in topColor, bottom-right in bottomColor; the
// rectangle is left shrunk by width on each side. A width of 0 or less draws nothing.
void DrawFrame3D(QPainter& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
// As DrawFrame3D, but the bottom colour stops short of the bottom-left corner pixel.
void DrawOutline3D(QPainter& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// Colour bands from startColor to endColor: direction 0 top to bottom, 1 left to right. Band
// offsets run up to and including the full extent, so the last band may lie one band outside.
void DrawGradient(QPainter& canvas, const TRect& rect, TColor startColor, TColor endColor, int direction,
                  int step);
// Style 1: horizontal bands top to bottom, channels interpolated with truncating integer division;
// the end colour itself is never reached. Other styles draw nothing.
void DrawGradientExt(QPainter& canvas, const TRect& rect, TColor startColor, TColor endColor, int style,
                     int step);

// Thumb images hold up to four frames side by side: normal, disabled, dragged, hovered. A frame
// the image lacks falls back to the normal one.
int ThumbFrameIndex(bool enabled, bool dragging, bool hovering, int frameCount);
// Copies frame frameIndex (frameWidth wide, full image height) of image to (x, y). Unless opaque,
// pixels of the image's transparent colour (its bottom-left pixel) are left out. On a canvas with more
// device pixels than pixels the frame is redrawn from its pixels at that ratio, edges kept hard.
void DrawBitmapFrame(QPainter& canvas, const QImage& image, int frameIndex, int frameWidth, int x, int y,
                     bool opaque);

// Rounding to the nearest integer with halves going to the even neighbour.
int RoundHalfEven(double value);
