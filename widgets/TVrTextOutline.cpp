#include "TVrTextOutline.h"

void TVrTextOutline::Assign(const TVrPersistent& Source) {
    const auto* src = dynamic_cast<const TVrTextOutline*>(&Source);
    if (!src)
        AssignError(Source);
    BeginUpdate();
    SetColor(src->m_color);
    SetVisible(src->m_visible);
    SetWidth(src->m_width);
    EndUpdate();
}
