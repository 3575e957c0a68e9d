#pragma once

#include "TVrCustomImageControl.h"
#include "TVrPalette.h"
#include "VrButtonLayout.h"

// A push button that toggles Active on every completed press and shows it with a square lamp
// beside its caption. OnClick fires after the toggle, so a handler reads the new state; setting
// Active from the program fires nothing.
class TVrPowerButton : public TVrCustomImageControl {
    Q_OBJECT
public:
    explicit TVrPowerButton(QWidget* parent = nullptr);

    bool Active() const { return m_active; }
    void SetActive(bool Value);
    // A completed press: Active flips and OnClick fires, as when Space is released on the button
    // (assistive technology presses it so).
    void Toggle();
    int LedWidth() const { return m_ledWidth; }
    void SetLedWidth(int Value);
    int LedHeight() const { return m_ledHeight; }
    void SetLedHeight(int Value);
    TVrImageTextLayout Layout() const { return m_layout; }
    void SetLayout(TVrImageTextLayout Value);
    int Margin() const { return m_margin; }
    void SetMargin(int Value);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int Value);
    TVrPalette* Palette() { return &m_palette; }
    void SetPalette(const TVrPalette& Value) { m_palette.Assign(Value); }
    TColor FocusColor() const { return m_focusColor; }
    void SetFocusColor(TColor Value);
    TColor OutlineColor() const { return m_outlineColor; }
    void SetOutlineColor(TColor Value);
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int Value);
    TColor HighlightColor() const { return m_highlightColor; }
    void SetHighlightColor(TColor Value);
    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor Value);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int Value);

    // Where the last layout put the lamp and the caption.
    QRect LampRect() const { return m_layoutRects.Lamp.ToQRect(); }
    QRect CaptionRect() const { return m_layoutRects.Caption.ToQRect(); }
    // Drawn pressed.
    bool Down() const { return m_down; }

protected:
    void Paint(QPainter& Canvas) override;
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(int Key, Qt::KeyboardModifiers Shift) override;
    void KeyUp(int Key, Qt::KeyboardModifiers Shift) override;
    void FocusChanged(bool Focused) override;
    void EnabledChanged() override;
    void FontChanged() override;
    void TextChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ComputeLayout();
    void Relayout();
    void FlipActive();
    void SetIntAndRepaint(int& field, int value);
    void SetColorAndRepaint(TColor& field, TColor value);

    bool m_active = false;
    int m_ledWidth = 12;
    int m_ledHeight = 12;
    TVrImageTextLayout m_layout = ImageLeft;
    int m_margin = -1;
    int m_spacing = 5;
    TVrPalette m_palette;
    TColor m_focusColor = clBlue;
    TColor m_outlineColor = clBlack;
    int m_outlineWidth = 1;
    TColor m_highlightColor = clBtnHighlight;
    TColor m_shadowColor = clBtnShadow;
    int m_bevelWidth = 2;

    bool m_held = false;
    bool m_down = false;
    int m_shortcutId = 0;
    VrButtonLayout m_layoutRects;
};
