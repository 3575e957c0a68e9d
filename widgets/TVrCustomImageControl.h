#pragma once

#include "TVrCustomControl.h"
#include "VrBackBuffer.h"

#include <QImage>

// A windowed widget that draws into a back buffer and shows it with one blit, so no partly drawn
// state ever reaches the screen. Paint receives a painter on the back buffer and starts with
// ClearBitmapCanvas.
class TVrCustomImageControl : public TVrCustomControl {
    Q_OBJECT
public:
    explicit TVrCustomImageControl(QWidget* parent = nullptr);

    // Renders the whole picture into the back buffer, then copies it to Canvas at (0, 0).
    void PaintTo(QPainter& Canvas) override;

    // The back buffer, in device pixels of the screen it was last painted for. Not to be painted on
    // while Paint runs (Paint already holds a painter on it).
    QImage& GetBitmapCanvas() { return m_buffer.Image(); }

protected:
    // Fills the back buffer with the control's background (see PaintBackground).
    virtual void ClearBitmapCanvas(QPainter& Canvas);
    // Shows the part of the back buffer in Rect at once, without drawing the picture again:
    // for widgets that update a piece of the buffer themselves.
    void RepaintFromBuffer(const QRect& Rect);

    void paintEvent(QPaintEvent* event) override;

private:
    VrBackBuffer m_buffer;
};
