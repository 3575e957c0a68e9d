#pragma once

#include "TColor.h"
#include "TVrPersistent.h"

// The halo drawn around a caption.
class TVrTextOutline : public TVrPersistent {
public:
    const char* ClassName() const override { return "TVrTextOutline"; }
    void Assign(const TVrPersistent& Source) override;

    TColor Color() const { return m_color; }
    bool Visible() const { return m_visible; }
    int Width() const { return m_width; }
    void SetColor(TColor v) { Store(m_color, v); }
    void SetVisible(bool v) { Store(m_visible, v); }
    void SetWidth(int v) { Store(m_width, v); }

private:
    TColor m_color = clNavy;
    bool m_visible = true;
    int m_width = 1;
};
