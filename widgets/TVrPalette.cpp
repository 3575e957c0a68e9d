#include "TVrPalette.h"

void TVrPalette::Assign(const TVrPersistent& Source) {
    const auto* src = dynamic_cast<const TVrPalette*>(&Source);
    if (!src)
        AssignError(Source);
    BeginUpdate();
    SetLow(src->m_low);
    SetHigh(src->m_high);
    EndUpdate();
}
