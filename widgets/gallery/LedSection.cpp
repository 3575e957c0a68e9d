#include "GallerySections.h"
#include "TVrUserLed.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QWidget>

namespace {

// The look the main window gives its lamps: black outline, a face-coloured band, flat colour.
TVrUserLed* MainWindowLed(int w, int h, TColor off, TColor on, bool active) {
    auto* led = new TVrUserLed;
    led->resize(w, h);
    led->Bevel()->SetOuterStyle(bsNone);
    led->PaletteEx()->SetLow1(off);
    led->PaletteEx()->SetLow2(off);
    led->PaletteEx()->SetHigh1(on);
    led->PaletteEx()->SetHigh2(on);
    led->SetActive(active);
    return led;
}

} // namespace

QWidget* LedSection() {
    auto* section = new QWidget;
    auto* row = new QHBoxLayout(section);

    auto* off = new TVrUserLed;
    row->addWidget(Labelled(off, "default off"));
    auto* on = new TVrUserLed;
    on->SetActive(true);
    row->addWidget(Labelled(on, "default on"));

    row->addWidget(Labelled(MainWindowLed(29, 29, RGB(0, 64, 0), RGB(0, 191, 0), false), "led off"));
    row->addWidget(Labelled(MainWindowLed(29, 29, RGB(0, 64, 0), RGB(0, 191, 0), true), "led on"));
    row->addWidget(Labelled(MainWindowLed(29, 15, clMaroon, clRed, false), "DIO off"));
    row->addWidget(Labelled(MainWindowLed(29, 15, clMaroon, clRed, true), "DIO on"));

    auto* gradient = new TVrUserLed;
    gradient->resize(29, 29);
    gradient->PaletteEx()->SetHigh1(clYellow);
    gradient->SetActive(true);
    row->addWidget(Labelled(gradient, "gradient"));

    auto* outlined = new TVrUserLed;
    outlined->SetOutlineWidth(2);
    outlined->SetOutlineColor(clRed);
    row->addWidget(Labelled(outlined, "outline 2"));

    auto* owner = new TVrUserLed;
    owner->resize(29, 29);
    owner->SetColor(clNavy);
    owner->SetDrawStyle(dsOwnerDraw);
    QObject::connect(owner, &TVrUserLed::OnDraw, [](QObject*, QPainter* canvas, QRect rect) {
        canvas->setRenderHint(QPainter::Antialiasing);
        canvas->setBrush(Qt::yellow);
        canvas->setPen(Qt::NoPen);
        canvas->drawEllipse(rect.adjusted(4, 4, -4, -4));
    });
    row->addWidget(Labelled(owner, "owner draw"));
    row->addStretch();
    return section;
}
