#include "TVrCustomImageControl.h"

#include <QPaintEvent>
#include <QPainter>

TVrCustomImageControl::TVrCustomImageControl(QWidget* parent) : TVrCustomControl(parent) {}

void TVrCustomImageControl::PaintTo(QPainter& Canvas) {
    if (width() <= 0 || height() <= 0)
        return;
    if (m_bitmap.size() != size())
        m_bitmap = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter buffer(&m_bitmap);
        Paint(buffer);
    }
    Canvas.drawImage(0, 0, m_bitmap);
}

void TVrCustomImageControl::ClearBitmapCanvas(QPainter& Canvas) {
    Canvas.fillRect(QRect(QPoint(0, 0), m_bitmap.size()), ResolvedColor());
}

void TVrCustomImageControl::RepaintFromBuffer(const QRect& Rect) {
    if (m_bitmap.size() != size())
        return UpdateControlCanvas();
    m_blitOnly = true;
    repaint(Rect);
    m_blitOnly = false;
}

void TVrCustomImageControl::paintEvent(QPaintEvent* event) {
    if (m_blitOnly) {
        QPainter p(this);
        p.drawImage(event->rect(), m_bitmap, event->rect());
        return;
    }
    TVrCustomControl::paintEvent(event);
}
