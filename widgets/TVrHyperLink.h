#pragma once

#include "TAlignment.h"
#include "TVrGraphicImageControl.h"
#include "TVrTextOutline.h"

#include <QFont>
#include <QList>
#include <QPoint>

// A windowless caption that changes font and background while the pointer is over it, with an
// optional outline halo around the text. A background in the face colour (clBtnFace) shows what the
// parent actually paints, as the face-coloured window did on the original platform. User-interface
// thread only.
class TVrHyperLink : public TVrGraphicImageControl {
    Q_OBJECT
public:
    explicit TVrHyperLink(QWidget* parent = nullptr);

    // Fonts with their colours: FontEnter while the pointer is over the label, FontLeave otherwise.
    QFont FontEnter() const { return m_fontEnter; }
    void SetFontEnter(const QFont& Value);
    TColor FontEnterColor() const { return m_fontEnterColor; }
    void SetFontEnterColor(TColor Value);
    QFont FontLeave() const { return m_fontLeave; }
    void SetFontLeave(const QFont& Value);
    TColor FontLeaveColor() const { return m_fontLeaveColor; }
    void SetFontLeaveColor(TColor Value);
    TColor ColorEnter() const { return m_colorEnter; }
    void SetColorEnter(TColor Value);
    TColor ColorLeave() const { return m_colorLeave; }
    void SetColorLeave(TColor Value);
    TVrTextOutline* TextOutline() { return &m_textOutline; }
    void SetTextOutline(const TVrTextOutline& Value) { m_textOutline.Assign(Value); }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment Value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool Value);

    // Pointer over the label (the hover look is shown).
    bool Hovering() const { return m_hover; }

    // Where the outline copies of the caption go, in drawing order, for an outline width.
    static QList<QPoint> OutlineOffsets(int Width);

protected:
    void Paint(QPainter& Canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void TextChanged() override;
    void EnabledChanged() override;
    // A label the application lets the keyboard reach shows the platform's focus frame.
    void FocusChanged(bool Focused) override;

    void SetHover(bool Value);

private:
    QFont m_fontEnter;
    TColor m_fontEnterColor = clLime;
    QFont m_fontLeave;
    TColor m_fontLeaveColor = clGreen;
    TColor m_colorEnter = clBlue;
    TColor m_colorLeave = clBlack;
    TVrTextOutline m_textOutline;
    TAlignment m_alignment = taCenter;
    bool m_wordWrap = true;
    bool m_hover = false;
};
