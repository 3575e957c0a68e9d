#include "app/SettingPage.h"

#include "app/BaudRates.h"
#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"

#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

SettingPage::SettingPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("Setting"), connection, parent) {
    GroupBox2 = place<QGroupBox>(this, "GroupBox2", 8, 8, 252, 98);
    GroupBox2->setTitle(QStringLiteral("NEW ADDRESS=0x01 / 1 "));
    AdrNew = place<TVrTrackBar>(GroupBox2, "AdrNew", 6, 16, 240, 42);
    AdrNew->SetMaxValue(255);
    AdrNew->SetMinValue(1);
    AdrNew->SetPosition(1);
    Button1 = button(GroupBox2, "Button1", QStringLiteral("-"), 10, 64, 28);
    Button2 = button(GroupBox2, "Button2", QStringLiteral("+"), 42, 64, 28);

    label(this, QStringLiteral("Label1"), QStringLiteral("BAUD RATE"), 276, 8, 110);
    BRNew = place<QComboBox>(this, "BRNew", 276, 24, 110, 21);
    BRNew->addItems(BaudRates::texts());
    BRNew->setCurrentIndex(BaudRates::kIndex9600);
    label(this, QStringLiteral("Label4"), QStringLiteral("CODE PAGE"), 276, 50, 110);
    CodePage = place<QComboBox>(this, "CodePage", 276, 66, 110, 21);
    CodePage->addItems({QStringLiteral("CP-866"), QStringLiteral("WIN-1251"), QStringLiteral("KOI-8R")});
    CodePage->setCurrentIndex(1);
    label(this, QStringLiteral("Label5"), QStringLiteral("CHECKSUM"), 276, 92, 110);
    CheckSum = place<QComboBox>(this, "CheckSum", 276, 108, 110, 21);
    CheckSum->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    CheckSum->setCurrentIndex(1);

    ReadSetting = button(this, "ReadSetting", QStringLiteral("Read setting"), 8, 120, 120);
    SaveSettign = button(this, "SaveSettign", QStringLiteral("Save settign"), 136, 120, 124);
    Button3 = button(this, "Button3", QStringLiteral("Default setting"), 8, 152, 120);
    Button16 = button(this, "Button16", QStringLiteral("Read in file"), 276, 152, 100);
    Button17 = button(this, "Button17", QStringLiteral("Save to file"), 382, 152, 100);
}

void SettingPage::Enter() {
    // The configuration fields as the terminal reported them, without code-page conversion.
    const DeviceData& device = connection().device();
    WriteRow(0, "Address   :" + device.cfgAddress);
    WriteRow(1, "Baud Rate :" + device.cfgBaud);
    WriteRow(2, "Code page :" + device.cfgCodePage);
    WriteRow(3, "Check summ:" + device.cfgFormat);
}
