#pragma once

#include "app/ConnectionPanel.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QGroupBox;
class QPushButton;
class QTabWidget;
class QTimer;

class FileDialog;
class StatusBarPanels;
class TnrBaseIO;
class TnrComm;
class TnrDeviceBox;
class TVrPowerButton;
class TVrTrackBar;
class TVrUserLed;

class AboutPage;
class CommTransactPort;
class DioPage;
class DisplayPage;
class KeyboardPage;
class MemoTrafficLog;
class TrafficMemo;
class SendAnchoredSleep;
class SettingPage;
class SimulatedTerminalPort;
class TerminalConnection;
class TerminalPage;
class UserSymbolsPage;
class WdtPage;

namespace tkm::protocol {
class TransactPort;
}

// The utility's one main window, a shell around the pages: the connection panel, the traffic log, the
// status bar, the page control with one page per function of the terminal, the two timers and the
// file dialogs. It owns the serial port component and the terminal connection, which holds the
// device-found flag and the cached device data that the pages read.
//
// Everything here runs on the user-interface thread. Every handler connected to a widget or timer runs
// inside HandlerGuard, so an exception (a conversion error, a port that does not open) ends that handler,
// is shown in the application's exception box, and the program goes on.
class TF1 : public QWidget, public ConnectionPanel {
    Q_OBJECT
public:
    explicit TF1(QWidget* parent = nullptr);
    ~TF1() override;

    // ---- Components (objectName = the member's name) ----
    QWidget* Panel1 = nullptr;
    TnrComm* nrComm1 = nullptr;
    TnrDeviceBox* nrDeviceBox1 = nullptr;
    QComboBox* BR = nullptr;
    TVrPowerButton* BOP = nullptr;
    TVrPowerButton* CSE = nullptr;
    TVrUserLed* led = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    TVrTrackBar* Adr = nullptr;
    QPushButton* AdrDec = nullptr;
    QPushButton* AdrInc = nullptr;
    TVrPowerButton* Scan = nullptr;
    StatusBarPanels* StBar = nullptr;
    TrafficMemo* RCVS = nullptr;
    QPushButton* Button4 = nullptr;
    QTimer* Timer1 = nullptr;
    QTabWidget* Page = nullptr;
    FileDialog* OpenDialog1 = nullptr;
    FileDialog* SaveDialog1 = nullptr;

    // Pages, in their order on the page control.
    DisplayPage* Display = nullptr;
    KeyboardPage* Keyboard = nullptr;
    DioPage* DIO = nullptr;
    UserSymbolsPage* UserSymbols = nullptr;
    SettingPage* Setting = nullptr;
    WdtPage* WDTimer = nullptr;
    AboutPage* About = nullptr;

    // The terminal on the line: flag, cached device data, transaction.
    TerminalConnection& connection() const { return *connection_; }

    // ---- Handlers ----
    void FormCreate();
    void BOPClick();
    void BRChange();
    void nrDeviceBox1Change();
    void AdrIncClick();
    void AdrDecClick();
    void AdrChange();
    void CSEClick();
    void Button4Click();
    void Timer1Timer();
    // What Timer1 runs: one poll tick, never inside another, whose errors are shown after it is done
    // and only once while they recur tick after tick.
    void PollTick();
    void PageChange();

    // The window closes: the terminal's watchdog switched off as leaving the WDT page does (while the
    // terminal is found), the timers stopped, the port closed, which removes its lock file.
    void FormClose();

    void AddressScan();
    // The port closed or opened, by the user or by itself: BOP and its caption follow it.
    void PortNotified(TnrBaseIO* sender, int code);
    // The port's device went away (an adapter pulled): said once in the traffic log.
    void DeviceLost(const QString& text);
    void RefreshStatus(); // status bar from the cached device data
    void SetPollInterval();

    // ---- ConnectionPanel: the Setting page's initialisation procedure moves these ----
    void moveAddress(int address) override;
    void switchChecksumOff() override;
    void chooseBaudIndex(int index) override;

    // The built-in simulated terminal offered by the port chooser.
    SimulatedTerminalPort* simulatedPort() const { return simulatedPort_.get(); }

    // The reply wait of the transaction. The default sleeps until the wait has passed since the frame
    // was written (SendAnchoredSleep); tests replace it.
    void setSleep(std::function<void(int milliseconds)> sleep);
    // The port the transaction talks through; nullptr restores nrComm1. Tests put scripted ports here.
    void setTransactPort(tkm::protocol::TransactPort* port);

signals:
    // The window has closed (FormClose done).
    void Closed();

protected:
    // A close asked for while an exchange waits for its reply (its message pump runs events) waits
    // until the exchange is over; a running scan stops. A closed window ends the loops of exchanges
    // that are still running (TerminalConnection's betweenExchanges): nobody is left to watch them.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The window keeps its size: a maximize request (a title bar may offer one regardless) is undone.
    void changeEvent(QEvent* event) override;

private:
    void buildConnectionPanel();
    void buildPages();
    // Tab reaches every control in reading order; names for assistive technology where no label gives one.
    void buildKeyboardOrder();
    void connectHandlers();
    void setupConnection();
    TerminalPage* shownPage() const;
    // Leave() on every page but `entered` (nullptr: on all), in the page control's order.
    void leavePagesBut(TerminalPage* entered);

    std::unique_ptr<CommTransactPort> transactPort_;
    std::unique_ptr<MemoTrafficLog> trafficLog_;
    std::unique_ptr<SendAnchoredSleep> replyWait_;
    std::unique_ptr<SimulatedTerminalPort> simulatedPort_;
    TerminalConnection* connection_ = nullptr; // owned as a child QObject
    bool tickRunning_ = false;
    bool pumping_ = false;      // an exchange lets window events run while it waits
    bool closeWaiting_ = false; // a close came meanwhile
    bool closed_ = false;
    QStringList lastTickErrors_;
};

// The one main window of the program (set while a TF1 exists).
extern TF1* F1;
