#include "VrBackBuffer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

bool VrBackBuffer::PaintTo(QPainter& Canvas, QSize Size, const std::function<void(QPainter&)>& Draw) {
    if (Size.width() <= 0 || Size.height() <= 0)
        return false;
    if (m_image.size() != Size)
        m_image = QImage(Size, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter buffer(&m_image);
        Draw(buffer);
    }
    Canvas.drawImage(0, 0, m_image);
    return true;
}

bool VrBackBuffer::ShowPart(QWidget& Widget, const QRect& Rect) {
    if (m_image.size() != Widget.size())
        return false;
    m_showingPart = true;
    Widget.repaint(Rect);
    m_showingPart = false;
    return true;
}

bool VrBackBuffer::ServePaintEvent(QWidget& Widget, const QPaintEvent& Event) {
    if (!m_showingPart)
        return false;
    QPainter p(&Widget);
    p.drawImage(Event.rect(), m_image, Event.rect());
    return true;
}
