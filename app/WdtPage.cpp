#include "app/WdtPage.h"

#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"

#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QGroupBox>
#include <QPushButton>

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
    GroupBoxWDT->setTitle(QStringLiteral("Period WDT=0x1E  3.0 (sec) "));
    WDTT = place<TVrTrackBar>(GroupBoxWDT, "WDTT", 6, 16, 228, 42);
    WDTT->SetMaxValue(255);
    WDTT->SetPosition(30);
    WDTEN = place<TVrPowerButton>(GroupBoxWDT, "WDTEN", 8, 64, 130, 27);
    WDTEN->SetCaption(QStringLiteral("WDT Enabled"));
    RWDT = button(GroupBoxWDT, "RWDT", QStringLiteral("Read WDT"), 146, 65, 86);
    DIS_RESWDT = place<TVrPowerButton>(GroupBoxWDT, "DIS_RESWDT", 8, 100, 170, 27);
    DIS_RESWDT->SetCaption(QStringLiteral("DISABLE RESET WDT"));

    connect(&connection, &TerminalConnection::watchdogIdentified, this, &WdtPage::ShowWatchdog);
}

void WdtPage::Enter() {
    if (!connection().readWatchdog())
        connection().lose();
    const DeviceData& device = connection().device();
    ShowWatchdog(device.wdtEnabled, device.wdtPeriod);
    WriteRow(0, "WDT TEST");
    WriteRow(1, "");
}

void WdtPage::SwitchWatchdogOff() {
    WDTEN->SetActive(false);
    if (!connection().setWatchdog(WDTEN->Active(), WDTT->Position()))
        connection().lose();
}

void WdtPage::ShowWatchdog(bool enabled, int periodTenths) {
    WDTEN->SetActive(enabled);
    if (enabled)
        WDTT->SetPosition(periodTenths);
}
