#include "TVrRasterLed.h"

#include "TVrRasterLeds.h"

TVrRasterLed::TVrRasterLed(TVrRasterLeds* Collection) : TVrCollectionItem(Collection) {}

void TVrRasterLed::SetActive(bool Value) {
    if (Value == m_active)
        return;
    m_active = Value;
    Changed(false);
}
