// The components of the Display, Keyboard, DIO, UserSymbols, Setting and WDT pages.
#include "app/LayoutHelpers.h"
#include "app/RadioGroup.h"
#include "app/TF1.h"

#include "widgets/TVrNumEdit.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrRaster.h"
#include "widgets/TVrSwitch.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                    int h = 25) {
    auto* b = place<QPushButton>(parent, name, x, y, w, h);
    b->setText(caption);
    return b;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h = 16) {
    auto* l = place<QLabel>(parent, name, x, y, w, h);
    l->setText(caption);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool ticked, int x, int y) {
    auto* c = place<QCheckBox>(parent, name, x, y, 160, 18);
    c->setText(caption);
    c->setChecked(ticked);
    return c;
}

TVrUserLed* lineLed(QWidget* parent, const QString& name, int x, int y) {
    auto* l = place<TVrUserLed>(parent, name, x, y, 29, 15);
    styleLed(l, clBlack, clLime);
    return l;
}

void styleRaster(TVrRaster* raster, int spacing) {
    raster->SetColumns(5);
    raster->SetRows(8);
    raster->SetSpacing(spacing);
    raster->Palette()->SetLow(RGB(0, 55, 28));
    raster->Palette()->SetHigh(clLime);
}

} // namespace

void TF1::buildDisplayPage() {
    auto* settings = place<QGroupBox>(Display, "GroupBox3", 8, 8, 180, 150);
    settings->setTitle(QStringLiteral("Display Settings"));
    EnDispl = checkBox(settings, "EnDispl", QStringLiteral("Enabled display"), true, 10, 22);
    BCurs = checkBox(settings, "BCurs", QStringLiteral("Blinking cursor"), true, 10, 42);
    Scurs = checkBox(settings, "Scurs", QStringLiteral("Static cursor"), true, 10, 62);
    EEPDispl = checkBox(settings, "EEPDispl", QStringLiteral("Save to EEPROM"), false, 10, 82);
    QPalette maroon = EEPDispl->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    maroon.setColor(QPalette::ButtonText, QColor(128, 0, 0));
    EEPDispl->setPalette(maroon);
    Button14 = button(settings, "Button14", QStringLiteral("Use Setting"), 8, 112, 78);
    Button15 = button(settings, "Button15", QStringLiteral("Default setting"), 90, 112, 84);

    auto* display = place<QGroupBox>(Display, "GroupBox4", 196, 8, 288, 150);
    display->setTitle(QStringLiteral("Display"));
    Edit1 = place<QLineEdit>(display, "Edit1", 10, 22, 268, 21);
    Edit1->setText(QStringLiteral("TKM-9214 "));
    LStr = label(display, QStringLiteral("LStr"), QStringLiteral("Length=9"), 10, 50, 100);
    Button12 = button(display, "Button12", QStringLiteral("Send"), 128, 47, 72);
    Button11 = button(display, "Button11", QStringLiteral("Clear"), 206, 47, 72);
    Led1 = lineLed(display, QStringLiteral("Led1"), 10, 86);
    label(display, QStringLiteral("LabelL1"), QStringLiteral("L1"), 44, 85, 20);
    Led2 = lineLed(display, QStringLiteral("Led2"), 10, 114);
    label(display, QStringLiteral("LabelL2"), QStringLiteral("L2"), 44, 113, 20);
    label(display, QStringLiteral("LabelX"), QStringLiteral("X"), 86, 85, 12);
    CX = place<TVrNumEdit>(display, "CX", 100, 82, 44, 21);
    CX->SetMaxValue(19);
    label(display, QStringLiteral("LabelY"), QStringLiteral("Y"), 86, 113, 12);
    CY = place<TVrNumEdit>(display, "CY", 100, 110, 44, 21);
    Button13 = button(display, "Button13", QStringLiteral("Set Cursor"), 160, 95, 90);
}

void TF1::buildKeyboardPage() {
    static const char* const captions[30] = {"F1", "F2",  "F3",   "F4",   "F5",    "F6",   "F7",    "F8",
                                             "F9", "F10", "ESC",  "7",    "8",     "9",    "Clear", "4",
                                             "5",  "6",   "Menu", "1",    "2",     "3",    "+/-",   "Up",
                                             "0",  "Dip", "Left", "Down", "Right", "Enter"};
    QFont bold = font();
    bold.setBold(true);
    for (int k = 1; k <= 30; ++k) {
        int x, y;
        if (k <= 10) { // function keys: two rows of five at the lower left
            x = 8 + ((k - 1) % 5) * 45;
            y = 190 + ((k - 1) / 5) * 45;
        } else { // block of five rows of four at the right
            x = 300 + ((k - 11) % 4) * 45;
            y = 10 + ((k - 11) / 4) * 45;
        }
        auto* panel = place<QLabel>(Keyboard, QStringLiteral("B%1").arg(k), x, y, 41, 41);
        panel->setText(QString::fromLatin1(captions[k - 1]));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(1);
        panel->setFont(bold);
        panel->setAutoFillBackground(true);
        setKeyPanelColor(k, palette().color(QPalette::Button));
    }
    Fix = place<TVrPowerButton>(Keyboard, "Fix", 8, 10, 110, 27);
    Fix->SetCaption(QStringLiteral("Fix"));
    ClearKey = button(Keyboard, "ClearKey", QStringLiteral("Clear"), 8, 46, 110);
    ClearKey->setEnabled(false);
}

void TF1::buildDioPage() {
    // Line 0 stands at the right and line 7 at the left; the caption over line k's column is 7 - k.
    auto columnX = [](int line) { return 48 + (7 - line) * 50; };
    for (int k = 0; k < 8; ++k) {
        const int x = columnX(k);
        auto* caption = label(DIO, QStringLiteral("LabelBit%1").arg(7 - k), QString::number(7 - k), x, 6, 29);
        caption->setAlignment(Qt::AlignCenter);
        lineLed(DIO, QStringLiteral("DIO%1").arg(k), x, 26);
        auto* sw = place<TVrSwitch>(DIO, QStringLiteral("DDIO%1").arg(k), x, 48, 29, 60);
        sw->SetPositions(2);
        sw->SetOffset(0);
        auto* direction = label(DIO, QStringLiteral("CDDIO%1").arg(k), QStringLiteral("IN"), x - 4, 112, 37);
        direction->setAlignment(Qt::AlignCenter);
    }
    Button7 = button(DIO, "Button7", QStringLiteral("Read"), 436, 48, 52);
    Button8 = button(DIO, "Button8", QStringLiteral("Save"), 436, 80, 52);
    Button8->setEnabled(false);

    auto* group = place<QGroupBox>(DIO, "GroupBox5", 8, 136, 478, 118);
    group->setTitle(QStringLiteral("Power ON && Safe state"));
    label(group, QStringLiteral("LabelPON"), QStringLiteral("PON"), 4, 26, 28);
    label(group, QStringLiteral("LabelSAFE"), QStringLiteral("SAFE"), 4, 54, 28);
    for (int k = 0; k < 8; ++k) {
        const int x = columnX(k) - 8;
        lineLed(group, QStringLiteral("PON%1").arg(k), x, 26);
        lineLed(group, QStringLiteral("SAFE%1").arg(k), x, 54);
    }
    Button9 = button(group, "Button9", QStringLiteral("Save PON"), 32, 84, 90);
    Button10 = button(group, "Button10", QStringLiteral("Save Safe"), 132, 84, 90);

    label(DIO, QStringLiteral("LabelOUTPUT"), QStringLiteral("OUTPUT"), 8, 276, 60);
}

void TF1::buildUserSymbolsPage() {
    for (int i = 0; i < 8; ++i) {
        const int x = 8 + i * 32;
        auto* caption = label(UserSymbols, QStringLiteral("LabelUS%1").arg(i), QString::number(i), x, 6, 27);
        caption->setAlignment(Qt::AlignCenter);
        auto* raster = place<TVrRaster>(UserSymbols, QStringLiteral("US%1").arg(i), x, 24, 27, 42);
        styleRaster(raster, 0);
    }
    auto* editor = place<TVrRaster>(UserSymbols, "US8", 296, 8, 129, 204);
    styleRaster(editor, 1);

    QStringList items;
    for (int i = 0; i < 8; ++i)
        items << QString::number(i);
    SUS = new RadioGroup(QStringLiteral("Symbol"), items, 4, UserSymbols);
    SUS->setObjectName(QStringLiteral("SUS"));
    SUS->setGeometry(8, 74, 260, 62);
    SUS->setItemIndex(0);

    USCode = place<QLineEdit>(UserSymbols, "USCode", 8, 144, 260, 21);
    USCode->setReadOnly(true);
    USCode->setText(QString::fromLatin1(symbolCodes[0].c_str()));

    InvUS = button(UserSymbols, "InvUS", QStringLiteral("Inv"), 432, 8, 52);
    ClearUS = button(UserSymbols, "ClearUS", QStringLiteral("Clear"), 432, 38, 52);
    SaveSym = button(UserSymbols, "SaveSym", QStringLiteral("Save symbol"), 8, 176, 126);
    SaveAllSym = button(UserSymbols, "SaveAllSym", QStringLiteral("Save all symbol"), 142, 176, 126);
    Button5 = button(UserSymbols, "Button5", QStringLiteral("Read in file"), 8, 208, 126);
    Button6 = button(UserSymbols, "Button6", QStringLiteral("Save to file"), 142, 208, 126);
}

void TF1::buildSettingPage() {
    GroupBox2 = place<QGroupBox>(Setting, "GroupBox2", 8, 8, 252, 98);
    GroupBox2->setTitle(QStringLiteral("NEW ADDRESS=0x01 / 1 "));
    AdrNew = place<TVrTrackBar>(GroupBox2, "AdrNew", 6, 16, 240, 42);
    AdrNew->SetMaxValue(255);
    AdrNew->SetMinValue(1);
    AdrNew->SetPosition(1);
    Button1 = button(GroupBox2, "Button1", QStringLiteral("-"), 10, 64, 28);
    Button2 = button(GroupBox2, "Button2", QStringLiteral("+"), 42, 64, 28);

    label(Setting, QStringLiteral("Label1"), QStringLiteral("BAUD RATE"), 276, 8, 110);
    BRNew = place<QComboBox>(Setting, "BRNew", 276, 24, 110, 21);
    BRNew->addItems({QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"),
                     QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                     QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("57600"),
                     QStringLiteral("115200")});
    BRNew->setCurrentIndex(5);
    label(Setting, QStringLiteral("Label4"), QStringLiteral("CODE PAGE"), 276, 50, 110);
    CodePage = place<QComboBox>(Setting, "CodePage", 276, 66, 110, 21);
    CodePage->addItems({QStringLiteral("CP-866"), QStringLiteral("WIN-1251"), QStringLiteral("KOI-8R")});
    CodePage->setCurrentIndex(1);
    label(Setting, QStringLiteral("Label5"), QStringLiteral("CHECKSUM"), 276, 92, 110);
    CheckSum = place<QComboBox>(Setting, "CheckSum", 276, 108, 110, 21);
    CheckSum->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    CheckSum->setCurrentIndex(1);

    ReadSetting = button(Setting, "ReadSetting", QStringLiteral("Read setting"), 8, 120, 120);
    SaveSettign = button(Setting, "SaveSettign", QStringLiteral("Save settign"), 136, 120, 124);
    Button3 = button(Setting, "Button3", QStringLiteral("Default setting"), 8, 152, 120);
    Button16 = button(Setting, "Button16", QStringLiteral("Read in file"), 276, 152, 100);
    Button17 = button(Setting, "Button17", QStringLiteral("Save to file"), 382, 152, 100);
}

void TF1::buildWdtPage() {
    auto* status = place<QGroupBox>(WDTimer, "GroupBox6", 8, 8, 230, 112);
    status->setTitle(QStringLiteral("Status WDT "));
    Stat_dev = place<TVrUserLed>(status, "Stat_dev", 10, 24, 29, 29);
    styleLed(Stat_dev, clGreen, clRed);
    label(status, QStringLiteral("Label2"), QStringLiteral("Green - normal status"), 48, 24, 170);
    label(status, QStringLiteral("Label3"), QStringLiteral("Red - alarm status"), 48, 40, 170);
    Button18 = button(status, "Button18", QStringLiteral("RESET Status"), 10, 74, 110);

    GroupBoxWDT = place<QGroupBox>(WDTimer, "GroupBox7", 246, 8, 240, 160);
    GroupBoxWDT->setTitle(QStringLiteral("Period WDT=0x1E  3.0 (sec) "));
    WDTT = place<TVrTrackBar>(GroupBoxWDT, "WDTT", 6, 16, 228, 42);
    WDTT->SetMaxValue(255);
    WDTT->SetPosition(30);
    WDTEN = place<TVrPowerButton>(GroupBoxWDT, "WDTEN", 8, 64, 130, 27);
    WDTEN->SetCaption(QStringLiteral("WDT Enabled"));
    RWDT = button(GroupBoxWDT, "RWDT", QStringLiteral("Read WDT"), 146, 65, 86);
    DIS_RESWDT = place<TVrPowerButton>(GroupBoxWDT, "DIS_RESWDT", 8, 100, 170, 27);
    DIS_RESWDT->SetCaption(QStringLiteral("DISABLE RESET WDT"));
}
