#pragma once

#include "TVrCollection.h"

class TVrCustomRaster;
class TVrRasterLed;

// The dots of a raster, row by row from the top-left. Changes go to the raster that owns them.
class TVrRasterLeds : public TVrCollection {
public:
    explicit TVrRasterLeds(TVrCustomRaster* Raster) : m_raster(Raster) {}

    TVrRasterLed* Items(int Index) const;

protected:
    void Update(TVrCollectionItem* Item) override;

private:
    TVrCustomRaster* m_raster;
};
