#include "GallerySections.h"
#include "TVrSwitch.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QWidget>

namespace {

// The DIO page's direction switch.
TVrSwitch* DioSwitch(int offset) {
    auto* s = new TVrSwitch;
    s->SetPositions(2);
    s->resize(29, 26);
    s->SetOffset(offset);
    return s;
}

} // namespace

QWidget* SwitchSection() {
    auto* section = new QWidget;
    auto* row = new QHBoxLayout(section);
    row->addWidget(Labelled(DioSwitch(0), "DIO IN (0)"));
    row->addWidget(Labelled(DioSwitch(1), "DIO OUT (1)"));
    auto* focused = DioSwitch(1);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(focused, &focusIn);
    row->addWidget(Labelled(focused, "focused"));
    auto* disabled = DioSwitch(0);
    disabled->setEnabled(false);
    row->addWidget(Labelled(disabled, "disabled"));

    for (int offset : {0, 2}) {
        auto* four = new TVrSwitch;
        four->SetOffset(offset);
        row->addWidget(Labelled(four, QStringLiteral("4 stops at %1").arg(offset)));
    }
    auto* topRight = new TVrSwitch;
    topRight->SetStyle(psTopRight);
    topRight->SetOffset(1);
    row->addWidget(Labelled(topRight, "psTopRight at 1"));
    auto* see = new TVrSwitch;
    see->SetColor(clNavy);
    see->SetOptions(soActiveClick | soMouseClip | soHandPoint);
    row->addWidget(Labelled(see, "thumb not opaque"));

    auto* horizontal = new TVrSwitch;
    horizontal->SetOrientation(voHorizontal);
    horizontal->SetPositions(3);
    horizontal->SetOffset(1);
    row->addWidget(Labelled(horizontal, "horizontal, 3 stops at 1"));
    auto* horizontalTop = new TVrSwitch;
    horizontalTop->SetOrientation(voHorizontal);
    horizontalTop->SetStyle(psTopRight);
    row->addWidget(Labelled(horizontalTop, "horizontal psTopRight at 0"));
    auto* keys = new TVrSwitch;
    keys->SetTabStop(true);
    row->addWidget(Labelled(keys, "TabStop: arrows,\nHome, End"));
    row->addStretch();
    return section;
}
