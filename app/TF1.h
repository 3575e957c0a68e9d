#pragma once

#include "app/DeviceData.h"

#include "protocol/Transact.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;

class FileDialog;
class RadioGroup;
class StatusBarPanels;
class TnrComm;
class TnrDeviceBox;
class TVrNumEdit;
class TVrPowerButton;
class TVrRaster;
class TVrSwitch;
class TVrTrackBar;
class TVrUserLed;
class TVrWebLabel;

class CommTransactPort;
class MemoTrafficLog;
class SendAnchoredSleep;
class SimulatedTerminalPort;

// The utility's one main window: the connection panel, the traffic log, the status bar and the page
// control with one page per function of the terminal. It owns the serial port component, the timers,
// the device-found flag and the cached device data that every page reads.
//
// Everything here runs on the user-interface thread. Every handler connected to a widget or timer runs
// inside HandlerGuard, so an exception (a conversion error, a port that does not open) ends that handler,
// is shown in the application's exception box, and the program goes on.
//
// The class is implemented across several files: TF1.cpp (construction, shell), TF1_Layout*.cpp (the
// components of the panel and of each page), TF1_Connection.cpp (connection-panel handlers, device
// identification, address scan, status and LED displays), TF1_Pages.cpp (page entry, poll and
// highlight ticks), TF1_About.cpp (the About page).
class TF1 : public QWidget {
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
    QPlainTextEdit* RCVS = nullptr;
    QPushButton* Button4 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer3 = nullptr;
    QTabWidget* Page = nullptr;
    FileDialog* OpenDialog1 = nullptr;
    FileDialog* SaveDialog1 = nullptr;

    // Pages, in their order on the page control.
    QWidget* Display = nullptr;
    QWidget* Keyboard = nullptr;
    QWidget* DIO = nullptr;
    QWidget* UserSymbols = nullptr;
    QWidget* Setting = nullptr;
    QWidget* WDTimer = nullptr;
    QWidget* About = nullptr;

    // Display page
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

    // Keyboard page (key panels B1..B30 are found by name)
    TVrPowerButton* Fix = nullptr;
    QPushButton* ClearKey = nullptr;

    // DIO page (DIO0..7, DDIO0..7, CDDIO0..7, PON0..7, SAFE0..7 are found by name)
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;

    // UserSymbols page (US0..US8 are found by name)
    RadioGroup* SUS = nullptr;
    QLineEdit* USCode = nullptr;
    QPushButton* InvUS = nullptr;
    QPushButton* ClearUS = nullptr;
    QPushButton* SaveSym = nullptr;
    QPushButton* SaveAllSym = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;

    // Setting page
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

    // WDT page
    TVrUserLed* Stat_dev = nullptr;
    QPushButton* Button18 = nullptr;
    QGroupBox* GroupBoxWDT = nullptr;
    TVrTrackBar* WDTT = nullptr;
    TVrPowerButton* WDTEN = nullptr;
    QPushButton* RWDT = nullptr;
    TVrPowerButton* DIS_RESWDT = nullptr;

    // About page
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
    TVrWebLabel* VrWebLabel1 = nullptr;
    TVrWebLabel* VrWebLabel2 = nullptr;
    TVrWebLabel* VrWebLabel3 = nullptr;
    QLabel* Image1 = nullptr;

    // ---- Application state shared with the pages ----
    bool deviceFound = false;
    DeviceData device;
    std::array<int, 31> keyHighlight{}; // index 1..30: ticks a key panel stays highlighted
    std::array<std::string, 8> symbolCodes;

    // Polls of the Keyboard, DIO and WDT pages by page name ("Keyboard", "DIO", "WDTimer"); each
    // returns its success, which the poll tick stores in the device-found flag. Filled by those pages.
    std::map<QString, std::function<bool()>> pagePolls;

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
    void Timer3Timer();
    void PageChange();

    // ---- Services for the pages ----
    // The command transaction over nrComm1 with this window's baud rate, checksum mode, timer, lamp
    // and traffic log.
    std::string Transact(const std::string& command, const std::string& prefix, int extraWait);
    std::string Transact(const tkm::protocol::Command& command);
    static bool IsError(const std::string& result) { return tkm::protocol::IsTransactError(result); }

    bool portOpen() const;           // the port the transaction talks through is open
    int address() const;             // Adr position
    std::string addressText() const; // Adr position as two upper-case hex digits

    bool IdentifyDevice();
    void AddressScan();
    void RefreshStatus(); // status bar and DIO displays from the cached device data
    void SetPollInterval();

    // LED bank prefix+"0".."7": bit 7 on prefix0. An empty value counts as "00".
    void ShowLedBank(const QString& prefix, const std::string& hexByte);
    std::string ReadLedBank(const QString& prefix) const;
    // Direction byte onto DDIOk / CDDIOk (set bit = input), then disables the DIO page's Save button.
    void ShowDirections(const std::string& hexByte);

    // Watchdog read (resets the cached enabled flag and period first) and watchdog set (WDTEN, WDTT;
    // only while the device-found flag is set).
    bool WatchdogRead();
    bool WatchdogSet();

    // Redraws symbol raster US<n> (n 0..7) or the editor US8 (n = 8) and shows the selected code.
    void RedrawSymbol(int n);
    int selectedSymbol() const;

    // Key panel "B" + k.
    QLabel* keyPanel(int k) const;
    void setKeyPanelColor(int k, const QColor& color);

    // The built-in simulated terminal offered by the port chooser.
    SimulatedTerminalPort* simulatedPort() const { return simulatedPort_.get(); }
    // Its port number in nrComm1's device list.
    int simulatorPortNo() const { return simulatorPortNo_; }

    // The reply wait of the transaction. The default sleeps until the wait has passed since the frame
    // was written (SendAnchoredSleep); tests replace it.
    void setSleep(std::function<void(int milliseconds)> sleep);
    // The port the transaction talks through; nullptr restores nrComm1. Tests put scripted ports here.
    void setTransactPort(tkm::protocol::TransactPort* port);

    // The maker's addresses shown on the About page and on the About test screen.
    static const char* const kWebSite;
    static const char* const kWebSiteShort;
    static const char* const kMailAddress;
    static const char* const kSupportPage;

private:
    void buildConnectionPanel();
    void buildDisplayPage();
    void buildKeyboardPage();
    void buildDioPage();
    void buildUserSymbolsPage();
    void buildSettingPage();
    void buildWdtPage();
    void buildAboutPage();
    void connectHandlers();
    void setupTransact();

    std::unique_ptr<CommTransactPort> transactPort_;
    std::unique_ptr<MemoTrafficLog> trafficLog_;
    std::unique_ptr<SendAnchoredSleep> replyWait_;
    std::unique_ptr<SimulatedTerminalPort> simulatedPort_;
    mutable std::array<QPointer<QLabel>, 31> keyPanels_; // index 1..30, see keyPanel()
    int simulatorPortNo_ = 0;
    tkm::protocol::TransactLinks links_;
};

// The one main window of the program (set while a TF1 exists).
extern TF1* F1;
