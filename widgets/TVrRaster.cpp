#include "TVrRaster.h"

TVrRaster::TVrRaster(QWidget* parent) : TVrCustomRaster(parent) {}
