#include "GallerySections.h"
#include "TVrPowerButton.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QWidget>

namespace {

TVrPowerButton* Button(const QString& caption, bool active, int w = 105, int h = 32) {
    auto* button = new TVrPowerButton;
    button->resize(w, h);
    button->SetCaption(caption);
    button->SetActive(active);
    return button;
}

// Leaves the button held down, as while the user presses it. The sample takes no mouse input after
// that: the pointer passing over it would end the hold (leaving a held button lifts it).
void HoldDown(TVrPowerButton* button) {
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    button->setAttribute(Qt::WA_TransparentForMouseEvents);
}

} // namespace

QWidget* PowerButtonSection() {
    auto* section = new QWidget;
    auto* grid = new QGridLayout(section);

    grid->addWidget(Labelled(Button("Open port", false), "off"), 0, 0);
    grid->addWidget(Labelled(Button("Close port", true), "on"), 0, 1);
    auto* pressed = Button("CheckSum", false);
    HoldDown(pressed);
    grid->addWidget(Labelled(pressed, "held down"), 0, 2);
    auto* disabled = Button("Scan", true);
    disabled->setEnabled(false);
    grid->addWidget(Labelled(disabled, "disabled"), 0, 3);
    auto* focused = Button("Fix", false);
    focused->SetOutlineColor(clBlue); // what the focus colour looks like
    grid->addWidget(Labelled(focused, "focus colour"), 0, 4);

    auto* right = Button("WDT Enabled", true, 125, 25);
    right->SetLayout(ImageRight);
    grid->addWidget(Labelled(right, "ImageRight"), 1, 0);
    auto* top = Button("Top", false, 105, 50);
    top->SetLayout(ImageTop);
    grid->addWidget(Labelled(top, "ImageTop"), 1, 1);
    auto* bottom = Button("Bottom", true, 105, 50);
    bottom->SetLayout(ImageBottom);
    grid->addWidget(Labelled(bottom, "ImageBottom"), 1, 2);
    auto* spread = Button("DISABLE RESET WDT", false, 160, 25);
    spread->SetSpacing(-1);
    grid->addWidget(Labelled(spread, "Spacing -1"), 1, 3);
    auto* big = Button("Big lamp", true, 125, 40);
    big->SetLedWidth(20);
    big->SetLedHeight(20);
    big->Palette()->SetHigh(clYellow);
    grid->addWidget(Labelled(big, "20x20 lamp, yellow"), 1, 4);

    auto* keys = Button("Tab, then Space", false, 125, 25);
    keys->SetTabStop(true);
    grid->addWidget(Labelled(keys, "TabStop"), 2, 0);
    return section;
}
