#include "app/WdtPage.h"

#include "app/HandlerGuard.h"
#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"

#include "terminal/Watchdog.h"

#include "protocol/Conversions.h"
#include "protocol/Replies.h"

#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"
#include "widgets/VrStateTexts.h"

#include <QGroupBox>
#include <QPushButton>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace proto = tkm::protocol;
namespace term = tkm::terminal;

WdtPage::WdtPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("WDTimer"), connection, parent) {
    auto* status = place<QGroupBox>(this, "GroupBox6", 8, 8, 230, 112);
    status->setTitle(QStringLiteral("Status WDT "));
    Stat_dev = place<TVrUserLed>(status, "Stat_dev", 10, 24, 29, 29);
    styleLed(Stat_dev, clGreen, clRed);
    label(status, QStringLiteral("Label2"), QStringLiteral("Green - normal status"), 48, 24, 170);
    label(status, QStringLiteral("Label3"), QStringLiteral("Red - alarm status"), 48, 40, 170);
    Button18 = button(status, "Button18", QStringLiteral("RESET Status"), 10, 74, 110);

    GroupBoxWDT = place<QGroupBox>(this, "GroupBox7", 246, 8, 240, 160);
    // As designed; the first change of the track bar writes it in the computed form.
    GroupBoxWDT->setTitle(QStringLiteral("Period WDT=0x1E  3.0 (sec) "));
    WDTT = place<TVrTrackBar>(GroupBoxWDT, "WDTT", 6, 16, 228, 42);
    WDTT->SetMaxValue(255);
    WDTT->SetPosition(30);
    WDTEN = place<TVrPowerButton>(GroupBoxWDT, "WDTEN", 8, 64, 130, 27);
    WDTEN->SetCaption(QStringLiteral("WDT Enabled"));
    RWDT = button(GroupBoxWDT, "RWDT", QStringLiteral("Read WDT"), 146, 65, 86);
    DIS_RESWDT = place<TVrPowerButton>(GroupBoxWDT, "DIS_RESWDT", 8, 100, 170, 27);
    DIS_RESWDT->SetCaption(QStringLiteral("DISABLE RESET WDT"));

    for (QWidget* control :
         {static_cast<QWidget*>(WDTT), static_cast<QWidget*>(WDTEN), static_cast<QWidget*>(DIS_RESWDT)})
        reachableByTab(control);
    WDTT->setAccessibleName(QStringLiteral("Period WDT"));
    Stat_dev->setAccessibleName(QStringLiteral("Status WDT"));
    VrStateTexts::Set(Stat_dev,
                      {QStringLiteral("Green - normal status"), QStringLiteral("Red - alarm status")});

    connect(&connection, &TerminalConnection::watchdogIdentified, this, &WdtPage::ShowWatchdog);
    connectHandlers();
}

void WdtPage::connectHandlers() {
    connect(WDTT, &TVrTrackBar::OnChange, this, HandlerGuard::slot([this] { WDTTChange(); }));
    connect(WDTT, &TVrTrackBar::OnMouseUp, this, HandlerGuard::slot([this] { WDTTMouseUp(); }));
    connect(WDTT, &TVrTrackBar::OnKeyUp, this, [this](QObject*, int key, Qt::KeyboardModifiers) {
        HandlerGuard::run([this, key] { WDTTKeyUp(key); });
    });
    connect(WDTEN, &TVrPowerButton::OnClick, this, HandlerGuard::slot([this] { WDTENClick(); }));
    connect(RWDT, &QPushButton::clicked, this, HandlerGuard::slot([this] { RWDTClick(); }));
    connect(Button18, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button18Click(); }));
    connect(Stat_dev, &TVrUserLed::OnMouseDown, this, HandlerGuard::slot([this] { Stat_devMouseDown(); }));
}

QList<QWidget*> WdtPage::TabOrder() const {
    return {Button18, WDTT, WDTEN, RWDT, DIS_RESWDT};
}

void WdtPage::Enter() {
    if (!ReadWatchdog())
        connection().lose();
    const proto::WatchdogState& watchdog = connection().device().watchdog;
    ShowWatchdog(watchdog.enabled, watchdog.periodTenths);
    WriteRow(0, "WDT TEST");
    WriteRow(1, "");
}

void WdtPage::Leave() {
    WDTEN->SetActive(false);
    if (!connection().setWatchdog(WDTEN->Active(), WDTT->Position()))
        connection().lose();
}

void WdtPage::ShowWatchdog(bool enabled, int periodTenths) {
    WDTEN->SetActive(enabled);
    if (enabled)
        WDTT->SetPosition(periodTenths);
}

bool WdtPage::ReadWatchdog() {
    try {
        return connection().readWatchdog();
    } catch (...) {
        connection().lose();
        throw;
    }
}

// ---- The watchdog poll ----

bool WdtPage::Poll() {
    if (!connection().found()) {
        readRequest_ = writeRequest_ = resetRequest_ = false;
        WDTEN->SetActive(false);
        Stat_dev->SetActive(false);
        return false;
    }
    if (std::exchange(readRequest_, false)) {
        if (!ReadWatchdog())
            return false;
        const proto::WatchdogState& watchdog = connection().device().watchdog;
        WDTEN->SetActive(watchdog.enabled);
        WDTT->SetPosition(watchdog.periodTenths);
    }
    if (std::exchange(writeRequest_, false))
        return connection().setWatchdog(WDTEN->Active(), WDTT->Position());
    if (std::exchange(resetRequest_, false)) {
        // Nothing to reset: this tick is done.
        if (!Stat_dev->Active())
            return true;
        if (!term::ResetStatus(connection(), connection().address()))
            return false;
    }
    return KeepAliveAndReadStatus();
}

bool WdtPage::KeepAliveAndReadStatus() {
    // The host-alive message has no reply to look at.
    if (WDTEN->Active() && !DIS_RESWDT->Active())
        term::SendHostAlive(connection());
    const term::Result<proto::ModuleStatus> status = term::ReadStatus(connection(), connection().address());
    if (!status)
        return false;
    Stat_dev->SetActive(status->alarm);
    return true;
}

// ---- Requests and the period caption ----

void WdtPage::RWDTClick() {
    readRequest_ = true;
}

void WdtPage::WDTENClick() {
    writeRequest_ = true;
}

void WdtPage::WDTTMouseUp() {
    // With the watchdog off the new period goes out with the next switch-on.
    if (WDTEN->Active())
        writeRequest_ = true;
}

void WdtPage::WDTTKeyUp(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        WDTTMouseUp();
        break;
    default:
        break;
    }
}

void WdtPage::Button18Click() {
    resetRequest_ = true;
}

void WdtPage::Stat_devMouseDown() {
    resetRequest_ = true;
}

void WdtPage::WDTTChange() {
    GroupBoxWDT->setTitle(PeriodCaption(WDTT->Position(), QLocale()));
}

QString WdtPage::PeriodCaption(int position, const QLocale& locale) {
    // General form: at most 15 significant digits, no trailing zeros, so 3.0000000000000004 reads "3".
    QString seconds = QString::number(position * 0.1, 'g', 15);
    seconds.replace(QLatin1Char('.'), locale.decimalPoint());
    return QStringLiteral("Period WDT=0x") +
           QString::fromStdString(proto::HexText(static_cast<std::uint32_t>(position), 2)) +
           QStringLiteral("  ") + seconds + QStringLiteral(" (sec) ");
}
