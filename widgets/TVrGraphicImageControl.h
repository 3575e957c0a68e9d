#pragma once

#include "TVrGraphicControl.h"
#include "VrBackBuffer.h"

#include <QImage>
#include <QTransform>
#include <functional>

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

    // The back buffer, in device pixels of the screen it was last painted for.
    QImage& GetBitmapCanvas() { return m_buffer.Image(); }
    const QImage& ParentImage() const { return m_parentImage; }

    // Published by the widgets that want it.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool Value);

protected:
    // Transparent: the captured parent picture (captured first when due); otherwise the background
    // (see PaintBackground).
    virtual void ClearBitmapCanvas(QPainter& Canvas);
    // Lets Draw change a piece of the picture in the back buffer; false, with nothing drawn, when the
    // buffer was not drawn for the control as it is now (the whole picture is to be drawn instead).
    bool UpdateBitmapCanvas(const std::function<void(QPainter&)>& Draw);
    void RepaintFromBuffer(const QRect& Rect);

    void paintEvent(QPaintEvent* event) override;

private:
    void CaptureParentImage(const QPainter& Canvas);

    VrBackBuffer m_buffer;
    QImage m_parentImage;
    QTransform m_parentImageTransform; // the buffer painter's layout the picture was captured for
    bool m_capture = true;
    bool m_transparent = false;
};
