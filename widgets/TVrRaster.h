#pragma once

#include "TVrCustomRaster.h"

// The dot raster as placed on forms; all behaviour is TVrCustomRaster's.
class TVrRaster : public TVrCustomRaster {
    Q_OBJECT
public:
    explicit TVrRaster(QWidget* parent = nullptr);
};
