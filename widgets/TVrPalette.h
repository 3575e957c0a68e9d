#pragma once

#include "TColor.h"
#include "TVrPersistent.h"

// An off/on colour pair.
class TVrPalette : public TVrPersistent {
public:
    const char* ClassName() const override { return "TVrPalette"; }
    void Assign(const TVrPersistent& Source) override;

    TColor Low() const { return m_low; }
    TColor High() const { return m_high; }
    void SetLow(TColor v) { Store(m_low, v); }
    void SetHigh(TColor v) { Store(m_high, v); }

    // Low for an index of 0 or less, High otherwise.
    TColor GetColors(int index) const { return index <= 0 ? m_low : m_high; }

private:
    TColor m_low = clGreen;
    TColor m_high = clLime;
};
