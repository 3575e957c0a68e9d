#include "VrBackBuffer.h"

#include "VrDevicePixels.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

VrBackBuffer::Layout VrBackBuffer::LayoutFor(QSize Size, qreal Ratio, QPointF DeviceOrigin) {
    // The picture's logical edge e falls on device pixel round(origin + e * ratio); drawn shifted by
    // origin - round(origin) it falls on the same pixel counted from the buffer's first one.
    Layout l;
    l.size = Size;
    l.ratio = Ratio;
    const qreal x = DeviceOrigin.x();
    const qreal y = DeviceOrigin.y();
    l.shift = QPointF((x - vrDeviceEdgeAt(x)) / Ratio, (y - vrDeviceEdgeAt(y)) / Ratio);
    l.deviceSize = QSize(vrDeviceEdgeAt(x + Size.width() * Ratio) - vrDeviceEdgeAt(x),
                         vrDeviceEdgeAt(y + Size.height() * Ratio) - vrDeviceEdgeAt(y));
    return l;
}

bool VrBackBuffer::PaintTo(QPainter& Canvas, QSize Size, const std::function<void(QPainter&)>& Draw) {
    if (Size.width() <= 0 || Size.height() <= 0)
        return false;
    const qreal ratio = vrPaintRatio(Canvas);
    const Layout layout = LayoutFor(Size, ratio, Canvas.deviceTransform().map(QPointF(0, 0)));
    if (m_image.isNull() || !(layout == m_layout)) {
        m_image = QImage(layout.deviceSize, QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(ratio);
        m_layout = layout;
    }
    Update(Draw);
    Canvas.drawImage(-m_layout.shift, m_image);
    return true;
}

bool VrBackBuffer::Fits(const QWidget& Widget) const {
    if (m_image.isNull())
        return false;
    const qreal ratio = Widget.devicePixelRatioF();
    // Widgets paint into their window's buffer with the window's origin on device pixel 0.
    const QPointF origin = QPointF(Widget.mapTo(Widget.window(), QPoint(0, 0))) * ratio;
    return LayoutFor(Widget.size(), ratio, origin) == m_layout;
}

void VrBackBuffer::Update(const std::function<void(QPainter&)>& Draw) {
    if (m_image.isNull())
        return;
    QPainter buffer(&m_image);
    buffer.translate(m_layout.shift);
    Draw(buffer);
}

bool VrBackBuffer::ShowPart(QWidget& Widget, const QRect& Rect) {
    if (!Fits(Widget))
        return false;
    m_showingPart = true;
    Widget.repaint(Rect);
    m_showingPart = false;
    return true;
}

bool VrBackBuffer::ServePaintEvent(QWidget& Widget, const QPaintEvent& Event) {
    if (!m_showingPart)
        return false;
    // The whole buffer clipped to the part: a source rectangle could not name the part's device
    // pixels exactly at a fractional ratio.
    QPainter p(&Widget);
    p.setClipRect(Event.rect());
    p.drawImage(-m_layout.shift, m_image);
    return true;
}
