#include "GallerySections.h"
#include "TVrRaster.h"
#include "TVrRasterLed.h"

#include <QHBoxLayout>
#include <QWidget>

namespace {

// A 5 x 8 symbol, one row per string, '#' lit.
const char* const kSymbolA[] = {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", "....."};

// The look of the user-symbol page's rasters: 5 x 8 flat dots, dark green and lime.
TVrRaster* SymbolRaster(int w, int h, int spacing, bool withSymbol) {
    auto* r = new TVrRaster;
    r->resize(w, h);
    r->SetRows(8);
    r->SetStyle(rsFlat);
    r->SetSpacing(spacing);
    r->Palette()->SetLow(RGB(0, 55, 28));
    r->Palette()->SetHigh(clLime);
    if (withSymbol)
        for (int row = 0; row < 8; ++row)
            for (int col = 0; col < 5; ++col)
                r->Items(row * 5 + col)->SetActive(kSymbolA[row][col] == '#');
    return r;
}

TVrRaster* Sampler(TVrRasterStyle style, bool plain) {
    auto* r = new TVrRaster;
    r->SetStyle(style);
    r->SetPlainColors(plain);
    for (int i = 0; i < r->Count(); i += 3)
        r->Items(i)->SetActive(true);
    return r;
}

} // namespace

QWidget* RasterSection() {
    auto* section = new QWidget;
    auto* row = new QHBoxLayout(section);
    row->addWidget(Labelled(SymbolRaster(129, 204, 1, true), "symbol editor 129x204"));
    row->addWidget(Labelled(SymbolRaster(29, 44, 0, true), "preview 29x44"));
    row->addWidget(Labelled(SymbolRaster(29, 44, 0, false), "empty preview"));
    row->addWidget(Labelled(Sampler(rsLowered, true), "defaults (rsLowered)"));
    row->addWidget(Labelled(Sampler(rsRaised, true), "rsRaised"));
    row->addWidget(Labelled(Sampler(rsRaised, false), "rsRaised, gradient"));
    row->addWidget(Labelled(Sampler(rsNone, false), "rsNone, gradient"));
    auto* single = new TVrRaster;
    single->SetMultiSelect(false);
    single->Items(2)->SetActive(true);
    single->Items(12)->SetActive(true);
    row->addWidget(Labelled(single, "MultiSelect off"));
    row->addStretch();
    return section;
}
