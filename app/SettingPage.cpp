#include "app/SettingPage.h"

#include "app/AppDialogs.h"
#include "app/BaudRates.h"
#include "app/ConnectionPanel.h"
#include "app/HandlerGuard.h"
#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"
#include "files/IniFile.h"
#include "files/SettingsFile.h"

#include "terminal/ConfigurationProcedure.h"

#include "protocol/Conversions.h"

#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>

#include <stdexcept>

namespace proto = tkm::protocol;
namespace term = tkm::terminal;

namespace {

constexpr int kDefaultCodePage = 1; // WIN-1251
constexpr int kChecksumEnabled = 0;
constexpr int kChecksumDisabled = 1;
constexpr int kDefaultAddress = 1;

// A code outside the list would leave the list blank, and a later save would send what no terminal
// takes: such a code leaves the list as it was.
void chooseItem(QComboBox* list, int index) {
    if (index >= 0 && index < list->count())
        list->setCurrentIndex(index);
}

} // namespace

const QString SettingPage::kPowerCycleText =
    QStringLiteral("1) Power off the TKM-9214\n2) Connect init pin to GND\n3) Power on the TKM-9214");

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
    reachableByTab(AdrNew);
    AdrNew->setAccessibleName(QStringLiteral("NEW ADDRESS"));
    Button1->setAccessibleName(QStringLiteral("NEW ADDRESS down"));
    Button2->setAccessibleName(QStringLiteral("NEW ADDRESS up"));

    QLabel* baudRate = label(this, QStringLiteral("Label1"), QStringLiteral("BAUD RATE"), 276, 8, 110);
    BRNew = place<QComboBox>(this, "BRNew", 276, 24, 110, 21);
    baudRate->setBuddy(BRNew);
    BRNew->addItems(BaudRates::texts());
    BRNew->setCurrentIndex(BaudRates::kIndex9600);
    QLabel* codePage = label(this, QStringLiteral("Label4"), QStringLiteral("CODE PAGE"), 276, 50, 110);
    CodePage = place<QComboBox>(this, "CodePage", 276, 66, 110, 21);
    codePage->setBuddy(CodePage);
    CodePage->addItems({QStringLiteral("CP-866"), QStringLiteral("WIN-1251"), QStringLiteral("KOI-8R")});
    CodePage->setCurrentIndex(1);
    QLabel* checksum = label(this, QStringLiteral("Label5"), QStringLiteral("CHECKSUM"), 276, 92, 110);
    CheckSum = place<QComboBox>(this, "CheckSum", 276, 108, 110, 21);
    checksum->setBuddy(CheckSum);
    CheckSum->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    CheckSum->setCurrentIndex(1);

    ReadSetting = button(this, "ReadSetting", QStringLiteral("Read setting"), 8, 120, 120);
    SaveSettign = button(this, "SaveSettign", QStringLiteral("Save settign"), 136, 120, 124);
    Button3 = button(this, "Button3", QStringLiteral("Default setting"), 8, 152, 120);
    Button16 = button(this, "Button16", QStringLiteral("Read in file"), 276, 152, 100);
    Button17 = button(this, "Button17", QStringLiteral("Save to file"), 382, 152, 100);
    connectHandlers();
}

void SettingPage::connectHandlers() {
    connect(AdrNew, &TVrTrackBar::OnChange, this, HandlerGuard::slot([this] { AdrNewChange(); }));
    connect(Button1, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button2Click(); }));
    connect(ReadSetting, &QPushButton::clicked, this, HandlerGuard::slot([this] { ReadSettingClick(); }));
    connect(Button3, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button3Click(); }));
    connect(SaveSettign, &QPushButton::clicked, this, HandlerGuard::slot([this] { SaveSettignClick(); }));
    connect(Button16, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button16Click(); }));
    connect(Button17, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button17Click(); }));
}

QList<QWidget*> SettingPage::TabOrder() const {
    return {AdrNew,      Button1,     Button2, BRNew,    CodePage, CheckSum,
            ReadSetting, SaveSettign, Button3, Button16, Button17};
}

void SettingPage::setFileDialogs(FileDialog* openDialog, FileDialog* saveDialog) {
    files_.emplace(openDialog, saveDialog);
}

void SettingPage::Enter() {
    // The configuration fields as the terminal reported them, without code-page conversion.
    const term::Configuration& configuration = connection().device().configuration;
    WriteRow(0, "Address   :" + configuration.address);
    WriteRow(1, "Baud Rate :" + configuration.baudCode);
    WriteRow(2, "Code page :" + configuration.codePageCode);
    WriteRow(3, "Check summ:" + configuration.formatCode);
}

void SettingPage::AdrNewChange() {
    const int a = AdrNew->Position();
    GroupBox2->setTitle(QStringLiteral("NEW ADDRESS=0x") + QString::fromStdString(proto::HexText(a, 2)) +
                        QStringLiteral(" / ") + QString::number(a) + QStringLiteral(" "));
}

void SettingPage::Button1Click() {
    AdrNew->SetPosition(AdrNew->Position() - 1);
}

void SettingPage::Button2Click() {
    AdrNew->SetPosition(AdrNew->Position() + 1);
}

void SettingPage::ReadSettingClick() {
    const term::Configuration& configuration = connection().device().configuration;
    if (configuration.address.empty() || configuration.baudCode.empty() || configuration.codePageCode.empty())
        return;
    // Field by field: a field that is no hex number ends the handler with the conversion error there.
    AdrNew->SetPosition(configuration.addressValue());
    chooseItem(BRNew, configuration.baudIndex());
    chooseItem(CodePage, configuration.codePageIndex());
    // Only a format code that says "off" switches the list off.
    CheckSum->setCurrentIndex(configuration.checksum().value_or(true) ? kChecksumEnabled : kChecksumDisabled);
}

void SettingPage::Button3Click() {
    AdrNew->SetPosition(kDefaultAddress);
    BRNew->setCurrentIndex(BaudRates::kIndex9600);
    CodePage->setCurrentIndex(kDefaultCodePage);
    CheckSum->setCurrentIndex(kChecksumDisabled);
}

bool SettingPage::RunInitialisation(term::ConfigurationProcedure& procedure) {
    using Procedure = term::ConfigurationProcedure;
    if (!AppDialogs::message(AppDialogs::Icon::Warning, AppDialogs::Buttons::OkCancel, kPowerCycleText))
        return false;
    procedure.powerCycled();
    TerminalConnection& terminal = connection();
    // Clicks held through an identification run before the procedure goes on; one that moved the
    // address away from init mode's or closed the port has left the procedure, and nothing is sent.
    auto stillThere = [&terminal] {
        return terminal.betweenExchanges() && terminal.portOpen() &&
               terminal.address() == Procedure::kInitModeAddress;
    };
    panel_->moveAddress(Procedure::kInitModeAddress);
    if (!stillThere())
        return false;
    panel_->switchChecksumOff();
    panel_->chooseBaudIndex(Procedure::kInitModeBaudIndex);
    procedure.switched();
    if (!terminal.identify()) {
        AppDialogs::message(AppDialogs::Icon::Error, AppDialogs::Buttons::Ok,
                            QStringLiteral("Device not found"));
        return false;
    }
    if (!stillThere() || !terminal.found())
        return false;
    procedure.found();
    return true;
}

void SettingPage::SaveSettignClick() {
    if (!panel_)
        throw std::logic_error("Setting page without its connection panel");
    TerminalConnection& terminal = connection();
    // A second click while the configuration goes out adds nothing.
    if (saving_ || !terminal.portOpen() || !terminal.found())
        return;
    const QScopedValueRollback<bool> running(saving_, true);
    // What the page shows at the click is written, whatever runs between the procedure's steps.
    const int newAddress = AdrNew->Position();
    const int codePageIndex = CodePage->currentIndex();
    term::ConfigurationProcedure procedure(
        {terminal.address(), terminal.baudIndex(), terminal.device().configuration.checksum()},
        BRNew->currentIndex(), CheckSum->currentIndex() == kChecksumEnabled);
    if (procedure.needsInitMode() && !RunInitialisation(procedure))
        return;

    if (!procedure.write(terminal, newAddress, codePageIndex))
        AppDialogs::message(AppDialogs::Icon::Error, AppDialogs::Buttons::Ok,
                            QStringLiteral("Data is not saved"));
    // The terminal is followed to its new address unless the user has chosen another one meanwhile.
    if (procedure.next() == term::ConfigurationProcedure::Step::Follow) {
        if (terminal.betweenExchanges() && terminal.address() == procedure.writeAddress())
            panel_->moveAddress(procedure.newAddress());
        procedure.followed();
    }
    // Whatever the answer, the terminal may have taken new settings: the next tick identifies it again.
    terminal.lose();
}

void SettingPage::Button16Click() {
    if (!files_)
        return;
    if (const std::optional<IniFile> file = files_->read())
        ReadFile(*file);
}

void SettingPage::ReadFile(const IniFile& file) {
    const SettingsFile::Values values = SettingsFile::read(file);
    BRNew->setCurrentIndex(values.baudIndex);
    CodePage->setCurrentIndex(values.codePageIndex);
    CheckSum->setCurrentIndex(values.checksumIndex);
    // The track bar keeps the address within 1..255 (0 becomes 1).
    AdrNew->SetPosition(values.address);
}

void SettingPage::Button17Click() {
    if (!files_)
        return;
    files_->save(QStringLiteral("the settings"), [this](IniFile& file) {
        SettingsFile::write(file, {BRNew->currentIndex(), CodePage->currentIndex(), CheckSum->currentIndex(),
                                   AdrNew->Position()});
    });
}
