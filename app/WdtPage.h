#pragma once

#include "app/TerminalPage.h"

#include <QLocale>
#include <QString>

class QGroupBox;
class QPushButton;
class TVrPowerButton;
class TVrTrackBar;
class TVrUserLed;

// The WDT page (component WDTimer): the terminal's host watchdog, its period and its alarm status.
// Entering it reads the watchdog; entering any other page switches it off (Leave). While it
// is shown its poll keeps the watchdog alive and reads the status. The page's buttons do not talk to
// the terminal: they raise requests, at most one of each kind, that the next poll serves.
// User-interface thread only.
class WdtPage : public TerminalPage {
    Q_OBJECT
public:
    explicit WdtPage(TerminalConnection& connection, QWidget* parent = nullptr);

    void Enter() override;
    QList<QWidget*> TabOrder() const override;

    bool HasPoll() const override { return true; }
    // The watchdog poll: drops the requests when the terminal is lost; otherwise serves a read request,
    // then a write request (alone in its tick) or a status reset, sends the host-alive message while
    // the watchdog is enabled and its reset is not disabled, and reads the status into Stat_dev.
    bool Poll() override;

    // WDTEN off, and the watchdog set sent with it (only while the terminal is found; a failure or a
    // terminal already lost leaves the flag clear).
    // The watchdog switched off, the period kept: with the page not shown nothing keeps it alive.
    void Leave() override;

    // ---- Handlers ----
    void WDTTChange();        // the period caption follows the track bar
    void WDTTMouseUp();       // a new period goes out only while the watchdog is enabled
    void WDTTKeyUp(int key);  // the same once a key that moves the track bar is released
    void WDTENClick();        // after the button toggled: the new state goes out
    void RWDTClick();         // read the watchdog
    void Button18Click();     // reset the status
    void Stat_devMouseDown(); // reset the status

    // The period group's caption for a track bar position (tenths of a second):
    // "Period WDT=0x19  2.5 (sec) ", the seconds in general form with the locale's decimal separator.
    static QString PeriodCaption(int position, const QLocale& locale = QLocale());

    // Components (objectName = the member's name)
    TVrUserLed* Stat_dev = nullptr;
    QPushButton* Button18 = nullptr;
    QGroupBox* GroupBoxWDT = nullptr;
    TVrTrackBar* WDTT = nullptr;
    TVrPowerButton* WDTEN = nullptr;
    QPushButton* RWDT = nullptr;
    TVrPowerButton* DIS_RESWDT = nullptr;

private:
    void connectHandlers();
    // WDTEN shows the enabled state; WDTT takes the period only when the watchdog is enabled.
    void ShowWatchdog(bool enabled, int periodTenths);
    // The watchdog read; a reply whose period is no hex number loses the terminal before its conversion
    // error goes on to the caller.
    bool ReadWatchdog();
    // The status part of the poll: host-alive message, status read.
    bool KeepAliveAndReadStatus();

    bool readRequest_ = false;
    bool writeRequest_ = false;
    bool resetRequest_ = false;
};
