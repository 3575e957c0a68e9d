#include "TVrPaletteEx.h"

void TVrPaletteEx::Assign(const TVrPersistent& Source) {
    const auto* src = dynamic_cast<const TVrPaletteEx*>(&Source);
    if (!src)
        AssignError(Source);
    BeginUpdate();
    SetLow1(src->m_low1);
    SetHigh1(src->m_high1);
    SetLow2(src->m_low2);
    SetHigh2(src->m_high2);
    EndUpdate();
}
