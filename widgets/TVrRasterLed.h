#pragma once

#include "TVrCollectionItem.h"

class TVrRasterLeds;

// One dot of a raster. Switching it redraws just that dot.
class TVrRasterLed : public TVrCollectionItem {
public:
    explicit TVrRasterLed(TVrRasterLeds* Collection);

    bool Active() const { return m_active; }
    void SetActive(bool Value);

private:
    friend class TVrCustomRaster;
    // Changes the state without any redraw (the raster redraws what it changed itself).
    void StoreActive(bool Value) { m_active = Value; }

    bool m_active = false;
};
