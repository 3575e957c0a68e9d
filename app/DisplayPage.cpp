#include "app/DisplayPage.h"

#include "app/LayoutHelpers.h"

#include "widgets/TVrNumEdit.h"
#include "widgets/TVrUserLed.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DisplayPage::DisplayPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("Display"), connection, parent) {
    auto* settings = place<QGroupBox>(this, "GroupBox3", 8, 8, 180, 150);
    settings->setTitle(QStringLiteral("Display Settings"));
    EnDispl = checkBox(settings, "EnDispl", QStringLiteral("Enabled display"), true, 10, 22);
    BCurs = checkBox(settings, "BCurs", QStringLiteral("Blinking cursor"), true, 10, 42);
    Scurs = checkBox(settings, "Scurs", QStringLiteral("Static cursor"), true, 10, 62);
    EEPDispl = checkBox(settings, "EEPDispl", QStringLiteral("Save to EEPROM"), false, 10, 82);
    QPalette maroon = EEPDispl->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    maroon.setColor(QPalette::ButtonText, QColor(128, 0, 0));
    EEPDispl->setPalette(maroon);
    Button14 = button(settings, "Button14", QStringLiteral("Use Setting"), 8, 112, 78);
    Button15 = button(settings, "Button15", QStringLiteral("Default setting"), 90, 112, 84);

    auto* display = place<QGroupBox>(this, "GroupBox4", 196, 8, 288, 150);
    display->setTitle(QStringLiteral("Display"));
    Edit1 = place<QLineEdit>(display, "Edit1", 10, 22, 268, 21);
    Edit1->setText(QStringLiteral("TKM-9214 "));
    LStr = label(display, QStringLiteral("LStr"), QStringLiteral("Length=9"), 10, 50, 100);
    Button12 = button(display, "Button12", QStringLiteral("Send"), 128, 47, 72);
    Button11 = button(display, "Button11", QStringLiteral("Clear"), 206, 47, 72);
    Led1 = lineLed(display, QStringLiteral("Led1"), 10, 86);
    label(display, QStringLiteral("LabelL1"), QStringLiteral("L1"), 44, 85, 20);
    Led2 = lineLed(display, QStringLiteral("Led2"), 10, 114);
    label(display, QStringLiteral("LabelL2"), QStringLiteral("L2"), 44, 113, 20);
    label(display, QStringLiteral("LabelX"), QStringLiteral("X"), 86, 85, 12);
    CX = place<TVrNumEdit>(display, "CX", 100, 82, 44, 21);
    CX->SetMaxValue(19);
    label(display, QStringLiteral("LabelY"), QStringLiteral("Y"), 86, 113, 12);
    CY = place<TVrNumEdit>(display, "CY", 100, 110, 44, 21);
    Button13 = button(display, "Button13", QStringLiteral("Set Cursor"), 160, 95, 90);
}
