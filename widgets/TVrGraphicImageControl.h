#pragma once

#include "TVrGraphicControl.h"
#include "VrBackBuffer.h"

#include <QImage>

// A windowless widget that draws into a back buffer and shows it with one blit. With Transparent
// set, the back buffer starts from a picture of the parent under the control instead of a plain
// fill: the picture is captured on paints the toolkit starts and reused on the control's own
// repaints, so a repaint does not need the parent to draw again.
class TVrGraphicImageControl : public TVrGraphicControl {
    Q_OBJECT
public:
    explicit TVrGraphicImageControl(QWidget* parent = nullptr);

    void PaintTo(QPainter& Canvas) override;
    void UpdateControlCanvas() override;

    QImage& GetBitmapCanvas() { return m_buffer.Image(); }
    const QImage& ParentImage() const { return m_parentImage; }

    // Published by the widgets that want it.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool Value);

protected:
    // Transparent: the captured parent picture (captured first when due); otherwise the colour.
    virtual void ClearBitmapCanvas(QPainter& Canvas);
    void RepaintFromBuffer(const QRect& Rect);

    void paintEvent(QPaintEvent* event) override;

private:
    void CaptureParentImage();

    VrBackBuffer m_buffer;
    QImage m_parentImage;
    bool m_capture = true;
    bool m_transparent = false;
};
