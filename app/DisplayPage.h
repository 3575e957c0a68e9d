#pragma once

#include "app/TerminalPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TVrNumEdit;
class TVrUserLed;

// The Display page: text, cursor, lamps and display settings of the terminal, driven by hand. It has
// no test screen and no poll: entering it only clears the display.
class DisplayPage : public TerminalPage {
    Q_OBJECT
public:
    explicit DisplayPage(TerminalConnection& connection, QWidget* parent = nullptr);

    // Components (objectName = the member's name)
    QCheckBox* EnDispl = nullptr;
    QCheckBox* BCurs = nullptr;
    QCheckBox* Scurs = nullptr;
    QCheckBox* EEPDispl = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* LStr = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button11 = nullptr;
    TVrUserLed* Led1 = nullptr;
    TVrUserLed* Led2 = nullptr;
    TVrNumEdit* CX = nullptr;
    TVrNumEdit* CY = nullptr;
    QPushButton* Button13 = nullptr;
};
