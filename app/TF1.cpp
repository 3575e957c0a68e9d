#include "app/TF1.h"

#include "app/AppDialogs.h"
#include "app/CommTransactPort.h"
#include "app/FileDialog.h"
#include "app/HandlerGuard.h"
#include "app/MemoTrafficLog.h"
#include "app/SendAnchoredSleep.h"
#include "app/SimulatedTerminalPort.h"

#include "protocol/Frame.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

TF1* F1 = nullptr;

const char* const TF1::kWebSite = "https://tkm.example/";
const char* const TF1::kWebSiteShort = "tkm.example";
const char* const TF1::kMailAddress = "ts@tkm.example";
const char* const TF1::kSupportPage = "https://tkm.example/tkm9214/support/";

namespace {
constexpr int kClientWidth = 498;
constexpr int kClientHeight = 618;
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

    symbolCodes.fill(std::string(16, '0'));

    buildConnectionPanel();
    buildDisplayPage();
    buildKeyboardPage();
    buildDioPage();
    buildUserSymbolsPage();
    buildSettingPage();
    buildWdtPage();
    buildAboutPage();
    setupTransact();
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
    // The timers must not tick into a half-destroyed window, and the port closes before the
    // simulated terminal behind it stops.
    Timer1->stop();
    Timer3->stop();
    HandlerGuard::run([this] { nrComm1->SetActive(false); });
    if (F1 == this)
        F1 = nullptr;
}

void TF1::setupTransact() {
    transactPort_ = std::make_unique<CommTransactPort>(nrComm1);
    trafficLog_ = std::make_unique<MemoTrafficLog>(RCVS);
    links_.port = transactPort_.get();
    links_.log = trafficLog_.get();
    links_.baudIndex = [this] { return BR->currentIndex(); };
    links_.checksumMode = [this] { return CSE->Active(); };
    links_.setPollTimerEnabled = [this](bool enabled) {
        if (enabled)
            Timer1->start();
        else
            Timer1->stop();
    };
    // The lamp is painted with the window's next repaint instead of at once: the transaction's message
    // pump paints it lit before the reply wait, the event loop dark afterwards. Each immediate repaint
    // is a round trip to the display server that would lengthen every exchange.
    links_.setActivityLamp = [this](bool on) {
        led->setUpdatesEnabled(false);
        led->SetActive(on);
        led->setUpdatesEnabled(true); // schedules the deferred paint
    };
    links_.processEvents = [] { QCoreApplication::processEvents(); };
    replyWait_ = std::make_unique<SendAnchoredSleep>();
    transactPort_->OnFrameSent = [this] { replyWait_->FrameSent(); };
    setSleep(nullptr);
}

void TF1::setSleep(std::function<void(int)> sleep) {
    if (sleep)
        links_.sleepMs = std::move(sleep);
    else
        links_.sleepMs = [this](int milliseconds) { replyWait_->Wait(milliseconds); };
}

void TF1::setTransactPort(tkm::protocol::TransactPort* port) {
    links_.port = port ? port : transactPort_.get();
}

std::string TF1::Transact(const std::string& command, const std::string& prefix, int extraWait) {
    return tkm::protocol::Transact(links_, command, prefix, extraWait);
}

std::string TF1::Transact(const tkm::protocol::Command& command) {
    return tkm::protocol::Transact(links_, command);
}

bool TF1::portOpen() const {
    return links_.port->GetActive();
}

int TF1::address() const {
    return Adr->Position();
}

std::string TF1::addressText() const {
    return tkm::protocol::AddressText(address());
}

void TF1::FormCreate() {
    Page->setCurrentWidget(Display);
    SetPollInterval();
    const QString programFolder = QCoreApplication::applicationDirPath();
    OpenDialog1->SetInitialDir(programFolder);
    SaveDialog1->SetInitialDir(programFolder);
}

void TF1::connectHandlers() {
    auto guard = [](auto handler) { return [handler] { HandlerGuard::run(handler); }; };

    connect(BOP, &TVrPowerButton::OnClick, this, guard([this] { BOPClick(); }));
    connect(CSE, &TVrPowerButton::OnClick, this, guard([this] { CSEClick(); }));
    connect(BR, &QComboBox::activated, this, guard([this] { BRChange(); }));
    nrDeviceBox1->OnChange = [guarded = guard([this] { nrDeviceBox1Change(); })](TnrDeviceBox*) {
        guarded();
    };
    connect(AdrInc, &QPushButton::clicked, this, guard([this] { AdrIncClick(); }));
    connect(AdrDec, &QPushButton::clicked, this, guard([this] { AdrDecClick(); }));
    connect(Adr, &TVrTrackBar::OnChange, this, guard([this] { AdrChange(); }));
    connect(Button4, &QPushButton::clicked, this, guard([this] { Button4Click(); }));
    connect(Page, &QTabWidget::currentChanged, this, guard([this] { PageChange(); }));
    connect(Timer1, &QTimer::timeout, this, guard([this] { Timer1Timer(); }));
    connect(Timer3, &QTimer::timeout, this, guard([this] { Timer3Timer(); }));
    Timer1->start();
    Timer3->start();
}
