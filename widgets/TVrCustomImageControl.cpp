#include "TVrCustomImageControl.h"

#include <QPaintEvent>
#include <QPainter>

TVrCustomImageControl::TVrCustomImageControl(QWidget* parent) : TVrCustomControl(parent) {}

void TVrCustomImageControl::PaintTo(QPainter& Canvas) {
    m_buffer.PaintTo(Canvas, size(), [this](QPainter& Buffer) { Paint(Buffer); });
}

void TVrCustomImageControl::ClearBitmapCanvas(QPainter& Canvas) {
    PaintBackground(Canvas);
}

void TVrCustomImageControl::RepaintFromBuffer(const QRect& Rect) {
    if (!m_buffer.ShowPart(*this, Rect))
        UpdateControlCanvas();
}

void TVrCustomImageControl::paintEvent(QPaintEvent* event) {
    if (!m_buffer.ServePaintEvent(*this, *event))
        TVrCustomControl::paintEvent(event);
}
