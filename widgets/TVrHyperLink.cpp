#include "TVrHyperLink.h"

#include <QPainter>

namespace {

QFont DefaultLinkFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    font.setBold(true);
    font.setUnderline(true);
    return font;
}

} // namespace

TVrHyperLink::TVrHyperLink(QWidget* parent)
    : TVrGraphicImageControl(parent), m_fontEnter(DefaultLinkFont()), m_fontLeave(DefaultLinkFont()) {
    resize(135, 25);
    SetDoubleClicks(false);
    m_textOutline.OnChange = [this](TVrPersistent*) { UpdateControlCanvas(); };
}

void TVrHyperLink::SetFontEnter(const QFont& Value) {
    if (Value == m_fontEnter)
        return;
    m_fontEnter = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::SetFontEnterColor(TColor Value) {
    if (Value == m_fontEnterColor)
        return;
    m_fontEnterColor = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::SetFontLeave(const QFont& Value) {
    if (Value == m_fontLeave)
        return;
    m_fontLeave = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::SetFontLeaveColor(TColor Value) {
    if (Value == m_fontLeaveColor)
        return;
    m_fontLeaveColor = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::SetColorEnter(TColor Value) {
    if (Value == m_colorEnter)
        return;
    m_colorEnter = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::SetColorLeave(TColor Value) {
    if (Value == m_colorLeave)
        return;
    m_colorLeave = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::SetAlignment(TAlignment Value) {
    if (Value == m_alignment)
        return;
    m_alignment = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::SetWordWrap(bool Value) {
    if (Value == m_wordWrap)
        return;
    m_wordWrap = Value;
    UpdateControlCanvas();
}

QList<QPoint> TVrHyperLink::OutlineOffsets(int Width) {
    QList<QPoint> offsets;
    for (int dx = 1; dx <= Width; ++dx)
        for (int dy = 1; dy <= Width; ++dy)
            offsets << QPoint(dx, dy) << QPoint(dx, -dy) << QPoint(-dx, dy) << QPoint(-dx, -dy);
    return offsets;
}

void TVrHyperLink::Paint(QPainter& Canvas) {
    const QRect client = rect();
    if (Transparent())
        ClearBitmapCanvas(Canvas);
    const bool hot = m_hover && isEnabled();
    Canvas.setFont(hot ? m_fontEnter : m_fontLeave);
    const QColor textColor = ColorToQColor(hot ? m_fontEnterColor : m_fontLeaveColor);
    if (!Transparent())
        PaintFace(Canvas, client, hot ? m_colorEnter : m_colorLeave);
    // Text is drawn with a clear background in both modes: the solid fill above already covers the
    // client area, which is what an opaque text background would paint.
    Canvas.setBackgroundMode(Qt::TransparentMode);

    const int w = m_textOutline.Visible() ? m_textOutline.Width() : 0;
    const QRect textRect = client.adjusted(std::max(w, 0), std::max(w, 0), -std::max(w, 0), -std::max(w, 0));
    int flags = int(ToQtAlignment(m_alignment)) | Qt::AlignTop | Qt::TextExpandTabs;
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    const QString caption = Caption();
    if (w > 0) {
        Canvas.setPen(ColorToQColor(m_textOutline.Color()));
        for (const QPoint& d : OutlineOffsets(w))
            Canvas.drawText(textRect.translated(d), flags, caption);
    }
    Canvas.setPen(textColor);
    Canvas.drawText(textRect, flags, caption);
    if (FocusShown())
        PaintFocusFrame(Canvas, client);
}

void TVrHyperLink::FocusChanged(bool Focused) {
    TVrGraphicImageControl::FocusChanged(Focused);
    UpdateControlCanvas();
}

void TVrHyperLink::SetHover(bool Value) {
    if (Value == m_hover)
        return;
    m_hover = Value;
    UpdateControlCanvas();
}

void TVrHyperLink::MouseEnter() {
    SetHover(true);
    TVrGraphicImageControl::MouseEnter();
}

void TVrHyperLink::MouseLeave() {
    SetHover(false);
    TVrGraphicImageControl::MouseLeave();
}

void TVrHyperLink::TextChanged() {
    UpdateControlCanvas();
}

void TVrHyperLink::EnabledChanged() {
    UpdateControlCanvas();
}
