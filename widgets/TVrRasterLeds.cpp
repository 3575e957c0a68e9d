#include "TVrRasterLeds.h"

#include "TVrCustomRaster.h"
#include "TVrRasterLed.h"

TVrRasterLed* TVrRasterLeds::Items(int Index) const {
    return static_cast<TVrRasterLed*>(TVrCollection::Items(Index));
}

void TVrRasterLeds::Update(TVrCollectionItem* Item) {
    if (Item)
        m_raster->LedChanged(IndexOf(Item));
    else
        m_raster->UpdateControlCanvas();
}
