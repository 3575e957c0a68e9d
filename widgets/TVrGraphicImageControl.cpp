#include "TVrGraphicImageControl.h"

#include "VrParentPicture.h"

#include <QPaintEvent>
#include <QPainter>

TVrGraphicImageControl::TVrGraphicImageControl(QWidget* parent) : TVrGraphicControl(parent) {}

void TVrGraphicImageControl::PaintTo(QPainter& Canvas) {
    if (!m_buffer.PaintTo(Canvas, size(), [this](QPainter& Buffer) { Paint(Buffer); }))
        return;
    if (m_transparent) {
        m_capture = true;
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
}

void TVrGraphicImageControl::UpdateControlCanvas() {
    if (m_transparent && !m_parentImage.isNull() && m_buffer.Fits(*this)) {
        m_capture = false;
        setAttribute(Qt::WA_OpaquePaintEvent, true);
    }
    TVrGraphicControl::UpdateControlCanvas();
}

void TVrGraphicImageControl::SetTransparent(bool Value) {
    if (Value == m_transparent)
        return;
    m_transparent = Value;
    setAttribute(Qt::WA_OpaquePaintEvent, !Value);
    m_capture = true;
    UpdateControlCanvas();
}

void TVrGraphicImageControl::ClearBitmapCanvas(QPainter& Canvas) {
    if (!m_transparent) {
        PaintBackground(Canvas);
        return;
    }
    const QImage& buffer = m_buffer.Image();
    if (m_capture || m_parentImage.size() != buffer.size() ||
        m_parentImage.devicePixelRatio() != buffer.devicePixelRatio() ||
        m_parentImageTransform != Canvas.worldTransform())
        CaptureParentImage(Canvas);
    // The picture was captured in the buffer's own layout: copied pixel for pixel.
    Canvas.save();
    Canvas.resetTransform();
    Canvas.drawImage(0, 0, m_parentImage);
    Canvas.restore();
}

void TVrGraphicImageControl::CaptureParentImage(const QPainter& Canvas) {
    const QImage& buffer = m_buffer.Image();
    m_parentImage = QImage(buffer.size(), QImage::Format_ARGB32_Premultiplied);
    m_parentImage.setDevicePixelRatio(buffer.devicePixelRatio());
    m_parentImageTransform = Canvas.worldTransform();
    if (!parentWidget()) {
        m_parentImage.fill(ResolvedColor());
        return;
    }
    // What the parent and the ancestors under it paint there; their other children, this control
    // included, stay out.
    QPainter p(&m_parentImage);
    p.setWorldTransform(m_parentImageTransform);
    VrParentPicture::Paint(*this, p);
}

bool TVrGraphicImageControl::UpdateBitmapCanvas(const std::function<void(QPainter&)>& Draw) {
    if (!m_buffer.Fits(*this))
        return false;
    m_buffer.Update(Draw);
    return true;
}

void TVrGraphicImageControl::RepaintFromBuffer(const QRect& Rect) {
    if (!m_buffer.ShowPart(*this, Rect))
        UpdateControlCanvas();
}

void TVrGraphicImageControl::paintEvent(QPaintEvent* event) {
    if (!m_buffer.ServePaintEvent(*this, *event))
        TVrGraphicControl::paintEvent(event);
}
