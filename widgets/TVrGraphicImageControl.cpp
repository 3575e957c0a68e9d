#include "TVrGraphicImageControl.h"

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
    if (m_transparent && !m_parentImage.isNull() && m_parentImage.size() == size()) {
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
    if (m_transparent) {
        if (m_capture || m_parentImage.size() != size())
            CaptureParentImage();
        Canvas.drawImage(0, 0, m_parentImage);
    } else {
        Canvas.fillRect(QRect(QPoint(0, 0), m_buffer.Image().size()), ResolvedColor());
    }
}

void TVrGraphicImageControl::CaptureParentImage() {
    m_parentImage = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    QWidget* parent = parentWidget();
    if (!parent) {
        m_parentImage.fill(ResolvedColor());
        return;
    }
    m_parentImage.fill(parent->palette().color(parent->backgroundRole()));
    // Only the parent's own drawing: its other children, this control included, stay out.
    QPainter p(&m_parentImage);
    parent->render(&p, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
}

void TVrGraphicImageControl::RepaintFromBuffer(const QRect& Rect) {
    if (!m_buffer.ShowPart(*this, Rect))
        UpdateControlCanvas();
}

void TVrGraphicImageControl::paintEvent(QPaintEvent* event) {
    if (!m_buffer.ServePaintEvent(*this, *event))
        TVrGraphicControl::paintEvent(event);
}
