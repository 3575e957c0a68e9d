#include "TVrBevel.h"

#include "Vrsysutils.h"

void TVrBevel::Assign(const TVrPersistent& Source) {
    const auto* src = dynamic_cast<const TVrBevel*>(&Source);
    if (!src)
        AssignError(Source);
    BeginUpdate();
    SetBorderWidth(src->m_borderWidth);
    SetBorderColor(src->m_borderColor);
    SetInnerShadow(src->m_innerShadow);
    SetInnerHighlight(src->m_innerHighlight);
    SetInnerWidth(src->m_innerWidth);
    SetInnerStyle(src->m_innerStyle);
    SetInnerOutline(src->m_innerOutline);
    SetInnerSpace(src->m_innerSpace);
    SetInnerColor(src->m_innerColor);
    SetOuterShadow(src->m_outerShadow);
    SetOuterHighlight(src->m_outerHighlight);
    SetOuterWidth(src->m_outerWidth);
    SetOuterStyle(src->m_outerStyle);
    SetOuterOutline(src->m_outerOutline);
    SetOuterSpace(src->m_outerSpace);
    SetOuterColor(src->m_outerColor);
    SetVisible(src->m_visible);
    EndUpdate();
}

int TVrBevel::Thickness() const {
    if (!m_visible)
        return 0;
    int t = m_borderWidth + m_innerSpace + m_outerSpace;
    if (m_outerOutline != osNone)
        ++t;
    if (m_innerOutline != osNone)
        ++t;
    if (m_innerStyle != bsNone)
        t += m_innerWidth;
    if (m_outerStyle != bsNone)
        t += m_outerWidth;
    return t;
}

void TVrBevel::GetVisibleArea(TRect& rect) const {
    const int t = Thickness();
    InflateRect(rect, -t, -t);
}

namespace {

void PaintOneBevel(QPainter& canvas, TRect& rect, TVrBevelOutlineStyle outline, TVrBevelStyle style,
                   TColor highlight, TColor shadow, int width, TColor bandColor, int space) {
    if (outline == osOuter)
        DrawFrame3D(canvas, rect, clBlack, clBlack, 1);
    if (style == bsRaised)
        DrawFrame3D(canvas, rect, highlight, shadow, width);
    else if (style == bsLowered)
        DrawFrame3D(canvas, rect, shadow, highlight, width);
    if (outline == osInner)
        DrawFrame3D(canvas, rect, clBlack, clBlack, 1);
    DrawFrame3D(canvas, rect, bandColor, bandColor, space);
}

} // namespace

void TVrBevel::Paint(QPainter& canvas, TRect& rect) const {
    if (!m_visible)
        return;
    if (m_borderWidth > 0)
        DrawFrame3D(canvas, rect, m_borderColor, m_borderColor, m_borderWidth);
    PaintOneBevel(canvas, rect, m_outerOutline, m_outerStyle, m_outerHighlight, m_outerShadow, m_outerWidth,
                  m_outerColor, m_outerSpace);
    PaintOneBevel(canvas, rect, m_innerOutline, m_innerStyle, m_innerHighlight, m_innerShadow, m_innerWidth,
                  m_innerColor, m_innerSpace);
}
