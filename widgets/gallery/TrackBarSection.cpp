#include "GallerySections.h"
#include "TVrTrackBar.h"

#include <QGridLayout>
#include <QWidget>

namespace {

TVrTrackBar* AddressBar(int position) {
    auto* bar = new TVrTrackBar;
    bar->resize(465, 45);
    bar->SetBorderWidth(5);
    bar->SetMaxValue(255);
    bar->SetPosition(position);
    return bar;
}

} // namespace

QWidget* TrackBarSection() {
    auto* section = new QWidget;
    auto* grid = new QGridLayout(section);

    grid->addWidget(Labelled(AddressBar(0), "address 0..255 at 0"), 0, 0);
    grid->addWidget(Labelled(AddressBar(128), "at 128"), 1, 0);
    grid->addWidget(Labelled(AddressBar(255), "at 255"), 2, 0);

    auto* fresh = new TVrTrackBar;
    fresh->resize(441, 45);
    fresh->SetMaxValue(255);
    fresh->SetMinValue(1);
    fresh->SetPosition(17);
    grid->addWidget(Labelled(fresh, "new address 1..255"), 3, 0);

    auto* keys = AddressBar(100);
    keys->SetTabStop(true);
    grid->addWidget(Labelled(keys, "TabStop: arrows step by 10, Home to 255, End to 0"), 4, 0);

    auto* side = new QWidget;
    auto* sideGrid = new QGridLayout(side);
    auto* defaults = new TVrTrackBar;
    defaults->SetPosition(30);
    sideGrid->addWidget(Labelled(defaults, "defaults"), 0, 0);
    auto* mirrored = new TVrTrackBar;
    mirrored->SetStyle(psTopRight);
    mirrored->SetPosition(30);
    mirrored->SetTickMarks(tmTopLeft);
    sideGrid->addWidget(Labelled(mirrored, "psTopRight, top scale"), 1, 0);
    auto* bare = new TVrTrackBar;
    bare->GutterBevel()->SetVisible(false);
    bare->SetTickMarks(tmBottomRight);
    bare->SetPosition(70);
    sideGrid->addWidget(Labelled(bare, "no gutter, bottom scale"), 2, 0);
    auto* disabled = new TVrTrackBar;
    disabled->SetPosition(50);
    disabled->setEnabled(false);
    sideGrid->addWidget(Labelled(disabled, "disabled"), 3, 0);

    auto* vertical = new TVrTrackBar;
    vertical->SetOrientation(voVertical);
    vertical->SetPosition(75);
    sideGrid->addWidget(Labelled(vertical, "vertical"), 0, 1, 4, 1);
    auto* verticalTop = new TVrTrackBar;
    verticalTop->SetOrientation(voVertical);
    verticalTop->SetStyle(psTopRight);
    verticalTop->SetGutterColor(clNavy);
    verticalTop->SetPosition(75);
    sideGrid->addWidget(Labelled(verticalTop, "vertical psTopRight"), 0, 2, 4, 1);
    grid->addWidget(side, 0, 1, 4, 1);
    return section;
}
