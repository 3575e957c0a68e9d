#pragma once

#include "TColor.h"
#include "TRect.h"
#include "TVrPersistent.h"

class QPainter;

enum TVrBevelStyle { bsNone, bsLowered, bsRaised };
enum TVrBevelOutlineStyle { osOuter, osInner, osNone };

// The frame around a widget's interior: an optional border, an outer and an inner bevel, each
// with optional black outline and a plain band inside.
class TVrBevel : public TVrPersistent {
public:
    const char* ClassName() const override { return "TVrBevel"; }
    void Assign(const TVrPersistent& Source) override;

    int BorderWidth() const { return m_borderWidth; }
    TColor BorderColor() const { return m_borderColor; }
    TColor InnerShadow() const { return m_innerShadow; }
    TColor InnerHighlight() const { return m_innerHighlight; }
    int InnerWidth() const { return m_innerWidth; }
    TVrBevelStyle InnerStyle() const { return m_innerStyle; }
    TVrBevelOutlineStyle InnerOutline() const { return m_innerOutline; }
    int InnerSpace() const { return m_innerSpace; }
    TColor InnerColor() const { return m_innerColor; }
    TColor OuterShadow() const { return m_outerShadow; }
    TColor OuterHighlight() const { return m_outerHighlight; }
    int OuterWidth() const { return m_outerWidth; }
    TVrBevelStyle OuterStyle() const { return m_outerStyle; }
    TVrBevelOutlineStyle OuterOutline() const { return m_outerOutline; }
    int OuterSpace() const { return m_outerSpace; }
    TColor OuterColor() const { return m_outerColor; }
    bool Visible() const { return m_visible; }

    void SetBorderWidth(int v) { Store(m_borderWidth, v); }
    void SetBorderColor(TColor v) { Store(m_borderColor, v); }
    void SetInnerShadow(TColor v) { Store(m_innerShadow, v); }
    void SetInnerHighlight(TColor v) { Store(m_innerHighlight, v); }
    void SetInnerWidth(int v) { Store(m_innerWidth, v); }
    void SetInnerStyle(TVrBevelStyle v) { Store(m_innerStyle, v); }
    void SetInnerOutline(TVrBevelOutlineStyle v) { Store(m_innerOutline, v); }
    void SetInnerSpace(int v) { Store(m_innerSpace, v); }
    void SetInnerColor(TColor v) { Store(m_innerColor, v); }
    void SetOuterShadow(TColor v) { Store(m_outerShadow, v); }
    void SetOuterHighlight(TColor v) { Store(m_outerHighlight, v); }
    void SetOuterWidth(int v) { Store(m_outerWidth, v); }
    void SetOuterStyle(TVrBevelStyle v) { Store(m_outerStyle, v); }
    void SetOuterOutline(TVrBevelOutlineStyle v) { Store(m_outerOutline, v); }
    void SetOuterSpace(int v) { Store(m_outerSpace, v); }
    void SetOuterColor(TColor v) { Store(m_outerColor, v); }
    void SetVisible(bool v) { Store(m_visible, v); }

    // Total thickness on each side: 0 when not visible.
    int Thickness() const;
    // Shrinks rect on all four sides by the thickness.
    void GetVisibleArea(TRect& rect) const;
    // Draws the bevel into rect and leaves rect shrunk to the interior.
    void Paint(QPainter& canvas, TRect& rect) const;

private:
    int m_borderWidth = 0;
    TColor m_borderColor = clBtnFace;
    TColor m_innerShadow = clBtnShadow;
    TColor m_innerHighlight = clBtnHighlight;
    int m_innerWidth = 1;
    TVrBevelStyle m_innerStyle = bsLowered;
    TVrBevelOutlineStyle m_innerOutline = osNone;
    int m_innerSpace = 1;
    TColor m_innerColor = clBtnFace;
    TColor m_outerShadow = clBtnShadow;
    TColor m_outerHighlight = clBtnHighlight;
    int m_outerWidth = 1;
    TVrBevelStyle m_outerStyle = bsRaised;
    TVrBevelOutlineStyle m_outerOutline = osOuter;
    int m_outerSpace = 0;
    TColor m_outerColor = clBtnFace;
    bool m_visible = true;
};
