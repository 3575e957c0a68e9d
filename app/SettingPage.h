#pragma once

#include "app/TerminalPage.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class TVrTrackBar;

// The Setting page: the terminal's configuration (new address, baud rate, code page, checksum mode),
// written to the terminal and kept in settings files. Entering it shows the cached configuration on
// the terminal's display.
class SettingPage : public TerminalPage {
    Q_OBJECT
public:
    explicit SettingPage(TerminalConnection& connection, QWidget* parent = nullptr);

    void Enter() override;

    // Components (objectName = the member's name)
    QGroupBox* GroupBox2 = nullptr;
    TVrTrackBar* AdrNew = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QComboBox* BRNew = nullptr;
    QComboBox* CodePage = nullptr;
    QComboBox* CheckSum = nullptr;
    QPushButton* ReadSetting = nullptr;
    QPushButton* SaveSettign = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button16 = nullptr;
    QPushButton* Button17 = nullptr;
};
