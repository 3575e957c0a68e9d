#include "app/TF1.h"

#include "app/AboutPage.h"
#include "app/AppDialogs.h"
#include "app/CommTransactPort.h"
#include "app/DioPage.h"
#include "app/DisplayPage.h"
#include "app/FileDialog.h"
#include "app/HandlerGuard.h"
#include "app/KeyboardPage.h"
#include "app/MemoTrafficLog.h"
#include "app/SendAnchoredSleep.h"
#include "app/SettingPage.h"
#include "app/SimulatedTerminalPort.h"
#include "app/StatusBarPanels.h"
#include "app/TerminalConnection.h"
#include "app/UserSymbolsPage.h"
#include "app/WdtPage.h"
#include "files/TerminalText.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

namespace proto = tkm::protocol;

TF1* F1 = nullptr;

namespace {

constexpr int kClientWidth = 498;
constexpr int kClientHeight = 618;

// Disables the window for the page-entry sequence and enables it again on every way out. Disabling
// takes the keyboard focus away; where the keyboard had put it (on the page tabs, say, switching
// pages with the arrows) it goes back.
class WindowDisabled {
public:
    explicit WindowDisabled(QWidget* window) : window_(window), focus_(window->focusWidget()) {
        window_->setEnabled(false);
    }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;
    ~WindowDisabled() {
        window_->setEnabled(true);
        if (focus_ && !window_->focusWidget() && window_->testAttribute(Qt::WA_KeyboardFocusChange) &&
            focus_->isVisible() && focus_->isEnabled())
            focus_->setFocus(Qt::OtherFocusReason);
    }

private:
    QWidget* window_;
    QPointer<QWidget> focus_;
};

} // namespace

TF1::TF1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("F1"));
    setWindowTitle(QStringLiteral("TKM-9214 Utility"));
    // Fixed single border: no resizing, and no Maximize command.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    // MS Sans Serif where it exists, else a sans serif of similar width, so captions fit as designed.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);

    buildConnectionPanel();
    setupConnection();
    buildPages();
    buildKeyboardOrder();
    connectHandlers();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }

    F1 = this;
    AppDialogs::setOwner(this);
    // Errors the serial link reports outside a handler (a port that does not reopen on another
    // chooser entry) go to the same box as exceptions.
    TnrBaseIO::SetErrorPresenter(
        [](const QString&, const QString& text) { AppDialogs::showException(text); });
    HandlerGuard::run([this] { FormCreate(); });
}

TF1::~TF1() {
    nrComm1->NotifyDelete(TnrNotifyEvent::Make(this, &TF1::PortNotified));
    nrComm1->OnDeviceLost = nullptr;
    nrComm1->OnWarning = nullptr;
    nrComm1->OnNote = nullptr;
    // The timers must not tick into a half-destroyed window, and the port closes before the
    // simulated terminal behind it stops.
    Timer1->stop();
    HandlerGuard::run([this] { nrComm1->SetActive(false); });
    if (F1 == this)
        F1 = nullptr;
}

void TF1::setupConnection() {
    transactPort_ = std::make_unique<CommTransactPort>(nrComm1);
    trafficLog_ = std::make_unique<MemoTrafficLog>(RCVS);
    replyWait_ = std::make_unique<SendAnchoredSleep>();
    transactPort_->OnFrameSent = [this] { replyWait_->FrameSent(); };

    proto::TransactLinks links;
    links.port = transactPort_.get();
    links.log = trafficLog_.get();
    links.setPollTimerEnabled = [this](bool enabled) {
        if (enabled)
            Timer1->start();
        else
            Timer1->stop();
    };
    // The lamp is painted with the window's next repaint instead of at once: the transaction's message
    // pump paints it lit before the reply wait, the event loop dark afterwards. Each immediate repaint
    // is a round trip to the display server that would lengthen every exchange.
    links.setActivityLamp = [this](bool on) {
        led->setUpdatesEnabled(false);
        led->SetActive(on);
        led->setUpdatesEnabled(true); // schedules the deferred paint
    };
    // Repaints, timers and line events run while an exchange waits, user input does not: a click handled
    // inside the exchange would start exchanges of its own that the running one refuses. The input
    // waits in the window system's queue and runs once the exchange is over: before the next exchange
    // of a loop (betweenExchanges below), or when the handler is done; the wake-up makes the event
    // loop look at that queue again (the glib dispatcher would otherwise leave it there until the next
    // window-system event arrives).
    links.processEvents = [this] {
        {
            const QScopedValueRollback pumping(pumping_, true);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        // A close that came meanwhile runs once the event loop is back (deferred again if that is
        // another exchange's pump).
        if (std::exchange(closeWaiting_, false))
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        if (QAbstractEventDispatcher* dispatcher = QCoreApplication::eventDispatcher())
            dispatcher->wakeUp();
    };
    links.sleepMs = [this](int milliseconds) { replyWait_->Wait(milliseconds); };
    connection_ = new TerminalConnection(std::move(links), this);
    connection_->setObjectName(QStringLiteral("TerminalConnection"));
    connection_->setAddress(Adr->Position());
    connection_->setBaudIndex(BR->currentIndex());
    connection_->setChecksumMode(CSE->Active());
    connect(connection_, &TerminalConnection::deviceDataChanged, this, &TF1::RefreshStatus);
    connection_->setBetweenExchanges([this] {
        QCoreApplication::processEvents();
        return !closed_;
    });

    nrComm1->NotifyAdd(TnrNotifyEvent::Make(this, &TF1::PortNotified));
    nrComm1->OnDeviceLost = [this](TnrCustomComm*, const QString& text) { DeviceLost(text); };
    nrComm1->OnWarning = [this](TnrCustomComm*, const QString& text) { trafficLog_->AppendNote(text); };
    nrComm1->OnNote = [this](TnrCustomComm*, const QString& text) { trafficLog_->AppendNote(text); };
}

void TF1::buildPages() {
    Display = new DisplayPage(*connection_, this);
    Keyboard = new KeyboardPage(*connection_, this);
    DIO = new DioPage(*connection_, this);
    UserSymbols = new UserSymbolsPage(*connection_, this);
    Setting = new SettingPage(*connection_, this);
    WDTimer = new WdtPage(*connection_, this);
    About = new AboutPage(*connection_, this);
    const std::pair<TerminalPage*, const char*> pages[] = {
        {Display, "Display"}, {Keyboard, "Keyboard"}, {DIO, "DIO"},    {UserSymbols, "UserSymbols"},
        {Setting, "Setting"}, {WDTimer, "WDT"},       {About, "About"}};
    for (const auto& [page, caption] : pages)
        Page->addTab(page, QString::fromLatin1(caption));
    Setting->setConnectionPanel(this);
    Setting->setFileDialogs(OpenDialog1, SaveDialog1);
    UserSymbols->setFileDialogs(OpenDialog1, SaveDialog1);
}

void TF1::showEvent(QShowEvent* event) {
    closed_ = false;
    QWidget::showEvent(event);
}

void TF1::setSleep(std::function<void(int)> sleep) {
    if (sleep)
        connection_->setSleep(std::move(sleep));
    else
        connection_->setSleep([this](int milliseconds) { replyWait_->Wait(milliseconds); });
}

void TF1::setTransactPort(proto::TransactPort* port) {
    connection_->setPort(port ? port : transactPort_.get());
}

void TF1::leavePagesBut(TerminalPage* entered) {
    for (int i = 0; i < Page->count(); ++i) {
        auto* page = qobject_cast<TerminalPage*>(Page->widget(i));
        if (page && page != entered)
            page->Leave();
    }
}

TerminalPage* TF1::shownPage() const {
    return qobject_cast<TerminalPage*>(Page->currentWidget());
}

void TF1::FormCreate() {
    Page->setCurrentWidget(Display);
    SetPollInterval();
    nrComm1->SetLatencyBudget(proto::AdapterLatencyBudgetMs(BR->currentIndex()));
    const QString startFolder = FileDialog::StartFolder(QCoreApplication::applicationDirPath());
    OpenDialog1->SetInitialDir(startFolder);
    SaveDialog1->SetInitialDir(startFolder);
}

void TF1::connectHandlers() {

    connect(BOP, &TVrPowerButton::OnClick, this, HandlerGuard::slot([this] { BOPClick(); }));
    connect(CSE, &TVrPowerButton::OnClick, this, HandlerGuard::slot([this] { CSEClick(); }));
    // Choosing the rate already in use is no change of rate.
    connect(BR, &QComboBox::activated, this, HandlerGuard::slot([this] {
                if (BR->currentIndex() != connection_->baudIndex())
                    BRChange();
            }));
    nrDeviceBox1->OnChange = [guarded = HandlerGuard::slot([this] { nrDeviceBox1Change(); })](TnrDeviceBox*) {
        guarded();
    };
    connect(AdrInc, &QPushButton::clicked, this, HandlerGuard::slot([this] { AdrIncClick(); }));
    connect(AdrDec, &QPushButton::clicked, this, HandlerGuard::slot([this] { AdrDecClick(); }));
    connect(Adr, &TVrTrackBar::OnChange, this, HandlerGuard::slot([this] { AdrChange(); }));
    connect(Button4, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button4Click(); }));
    connect(Page, &QTabWidget::currentChanged, this, HandlerGuard::slot([this] { PageChange(); }));
    connect(Timer1, &QTimer::timeout, this, &TF1::PollTick);
    Timer1->start();
}

// ---- Connection panel ----

void TF1::SetPollInterval() {
    Timer1->setInterval(proto::PollIntervalMs(BR->currentIndex()));
}

void TF1::BOPClick() {
    nrComm1->SetBaudRate(BR->currentText().toUInt());
    // A port that does not open throws here: the caption stays as it was and BOP stays on.
    nrComm1->SetActive(BOP->Active());
    BOP->SetCaption(nrComm1->GetActive() ? QStringLiteral("Close port") : QStringLiteral("Open port"));
}

void TF1::BRChange() {
    chooseBaudIndex(BR->currentIndex());
    connection_->identify();
}

void TF1::chooseBaudIndex(int index) {
    BR->setCurrentIndex(index);
    nrComm1->SetBaudRate(BR->currentText().toUInt());
    connection_->setBaudIndex(BR->currentIndex());
    SetPollInterval();
    nrComm1->SetLatencyBudget(proto::AdapterLatencyBudgetMs(BR->currentIndex()));
}

void TF1::moveAddress(int address) {
    Adr->SetPosition(address);
}

void TF1::switchChecksumOff() {
    CSE->SetActive(false);
    CSEClick();
}

void TF1::PortNotified(TnrBaseIO*, int code) {
    if (code != 1 && code != 2) // closed, opened
        return;
    const bool open = nrComm1->GetActive();
    if (code == 2)
        connection_->portOpened();
    BOP->SetActive(open);
    BOP->SetCaption(open ? QStringLiteral("Close port") : QStringLiteral("Open port"));
}

void TF1::DeviceLost(const QString& text) {
    // May run inside an exchange (the port noticed while writing): no exchange of its own here.
    connection_->lose();
    trafficLog_->AppendNote(text);
}

void TF1::nrDeviceBox1Change() {
    connection_->identify();
}

void TF1::AdrIncClick() {
    Adr->SetPosition(Adr->Position() + 1);
}

void TF1::AdrDecClick() {
    Adr->SetPosition(Adr->Position() - 1);
}

void TF1::AdrChange() {
    const int a = Adr->Position();
    GroupBox1->setTitle(QStringLiteral("ADDRESS=0x") + QString::fromStdString(proto::HexText(a, 2)) +
                        QStringLiteral(" / ") + QString::number(a) + QStringLiteral("  "));
    connection_->setAddress(a);
    connection_->identify();
}

void TF1::CSEClick() {
    connection_->setChecksumMode(CSE->Active());
}

void TF1::Button4Click() {
    trafficLog_->Clear();
}

void TF1::RefreshStatus() {
    const tkm::terminal::DeviceData& device = connection_->device();
    StBar->setPanelText(1, TerminalText::visible(device.deviceName));
    StBar->setPanelText(3, TerminalText::visible(device.firmware));

    const std::string_view codePage = device.configuration.codePageName();
    StBar->setPanelText(5, QString::fromLatin1(codePage.data(), static_cast<qsizetype>(codePage.size())));

    const std::optional<bool> checksum = device.configuration.checksum();
    StBar->setPanelText(7, !checksum ? QString() : *checksum ? QStringLiteral("ON") : QStringLiteral("OFF"));
}

void TF1::AddressScan() {
    TerminalConnection::ScanControls controls;
    controls.scanOn = [this] { return Scan->Active(); };
    controls.switchScanOff = [this] { Scan->SetActive(false); };
    controls.moveAddress = [this](int address) { Adr->SetPosition(address); };
    controls.setPollTimer = [this](bool on) {
        if (on)
            Timer1->start();
        else
            Timer1->stop();
    };
    connection_->runAddressScan(controls);
}

// ---- Page switching and polling ----

void TF1::PageChange() {
    if (!connection_->found())
        return;
    WindowDisabled disabled(this);

    if (TerminalConnection::IsError(connection_->Transact(proto::ClearDisplay(connection_->address()))))
        connection_->lose();
    TerminalPage* shown = shownPage();
    leavePagesBut(shown);
    if (shown)
        shown->Enter();
}

// ---- Closing ----

void TF1::closeEvent(QCloseEvent* event) {
    if (pumping_) {
        event->ignore();
        closeWaiting_ = true;
        Scan->SetActive(false);
        return;
    }
    // Loops of exchanges still running (a scan, Save all symbol) stop at their next step: nobody is
    // left to watch them.
    closed_ = true;
    HandlerGuard::run([this] { FormClose(); });
    QWidget::closeEvent(event);
    emit Closed();
}

void TF1::FormClose() {
    // The terminal would raise its alarm once the utility that kept its watchdog alive is gone.
    if (connection_->found() && connection_->portOpen())
        leavePagesBut(nullptr);
    Timer1->stop();
    Keyboard->Timer3->stop();
    nrComm1->SetActive(false);
}

void TF1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && windowState().testFlag(Qt::WindowMaximized))
        QMetaObject::invokeMethod(
            this, [this] { setWindowState(windowState() & ~Qt::WindowMaximized); }, Qt::QueuedConnection);
}

void TF1::Timer1Timer() {
    if (!connection_->portOpen())
        connection_->lose();
    if (Scan->Active())
        AddressScan();
    if (!connection_->found())
        connection_->identify();
    TerminalPage* shown = shownPage();
    if (shown && shown->HasPoll() && !shown->Poll())
        connection_->lose();
}

void TF1::PollTick() {
    if (tickRunning_)
        return;
    QStringList raised;
    {
        struct Running {
            bool& flag;
            ~Running() { flag = false; }
        } running{tickRunning_};
        tickRunning_ = true;
        AppDialogs::ExceptionCollector collect(raised);
        HandlerGuard::run([this] { Timer1Timer(); });
    }
    // Shown now that the tick is over: the box's modal loop goes on polling, and the ticks it runs
    // add no box of the same error, nor does a terminal that keeps answering the same way.
    const QStringList before = std::exchange(lastTickErrors_, raised);
    for (const QString& text : raised) {
        if (!before.contains(text))
            AppDialogs::showException(text);
    }
}
