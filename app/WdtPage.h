#pragma once

#include "app/TerminalPage.h"

class QGroupBox;
class QPushButton;
class TVrPowerButton;
class TVrTrackBar;
class TVrUserLed;

// The WDT page (component WDTimer): the terminal's host watchdog, its period and its alarm status.
// Entering it reads the watchdog; entering any other page switches it off (SwitchWatchdogOff).
class WdtPage : public TerminalPage {
    Q_OBJECT
public:
    explicit WdtPage(TerminalConnection& connection, QWidget* parent = nullptr);

    void Enter() override;

    // WDTEN off, and the watchdog set sent with it (only while the terminal is found; a failure or a
    // terminal already lost leaves the flag clear).
    void SwitchWatchdogOff();

    // Components (objectName = the member's name)
    TVrUserLed* Stat_dev = nullptr;
    QPushButton* Button18 = nullptr;
    QGroupBox* GroupBoxWDT = nullptr;
    TVrTrackBar* WDTT = nullptr;
    TVrPowerButton* WDTEN = nullptr;
    QPushButton* RWDT = nullptr;
    TVrPowerButton* DIS_RESWDT = nullptr;

private:
    // WDTEN shows the enabled state; WDTT takes the period only when the watchdog is enabled.
    void ShowWatchdog(bool enabled, int periodTenths);
};
