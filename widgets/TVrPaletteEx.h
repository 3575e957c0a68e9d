#pragma once

#include "TColor.h"
#include "TVrPersistent.h"

// Two colour pairs for gradients: Low1/High1 for the top, Low2/High2 for the bottom.
class TVrPaletteEx : public TVrPersistent {
public:
    const char* ClassName() const override { return "TVrPaletteEx"; }
    void Assign(const TVrPersistent& Source) override;

    TColor Low1() const { return m_low1; }
    TColor High1() const { return m_high1; }
    TColor Low2() const { return m_low2; }
    TColor High2() const { return m_high2; }
    void SetLow1(TColor v) { Store(m_low1, v); }
    void SetHigh1(TColor v) { Store(m_high1, v); }
    void SetLow2(TColor v) { Store(m_low2, v); }
    void SetHigh2(TColor v) { Store(m_high2, v); }

private:
    TColor m_low1 = clGreen;
    TColor m_high1 = clLime;
    TColor m_low2 = clBlack;
    TColor m_high2 = clBlack;
};
