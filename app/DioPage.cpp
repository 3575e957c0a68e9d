#include "app/DioPage.h"

#include "app/HandlerGuard.h"
#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"

#include "widgets/TVrSwitch.h"
#include "widgets/TVrUserLed.h"
#include "widgets/VrStateTexts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace proto = tkm::protocol;

namespace {

// Eight bit characters of a two-hex-digit value, bit 7 first; an empty value counts as "00".
std::string eightBits(const std::string& hexByte) {
    std::string bits = proto::HexToBits(hexByte.empty() ? std::string("00") : hexByte);
    bits.resize(8, '0');
    return bits;
}

} // namespace

DioPage::DioPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("DIO"), connection, parent) {
    // Line 0 stands at the right and line 7 at the left; the caption over line k's column is 7 - k.
    auto columnX = [](int line) { return 48 + (7 - line) * 50; };
    for (int k = 0; k < 8; ++k) {
        const int x = columnX(k);
        auto* caption =
            label(this, QStringLiteral("LabelBit%1").arg(7 - k), QString::number(7 - k), x, 6, 29);
        caption->setAlignment(Qt::AlignCenter);
        TVrUserLed* line = lineLed(this, QStringLiteral("DIO%1").arg(k), x, 26);
        reachableByTab(line);
        line->setAccessibleName(line->objectName());
        line->setAccessibleDescription(QStringLiteral("Line %1 state").arg(k));
        auto* sw = place<TVrSwitch>(this, QStringLiteral("DDIO%1").arg(k), x, 48, 29, 60);
        sw->SetPositions(2);
        sw->SetOffset(0);
        reachableByTab(sw);
        sw->setAccessibleName(QStringLiteral("Line %1 direction").arg(k));
        VrStateTexts::Set(sw, {QStringLiteral("IN"), QStringLiteral("OUT")});
        auto* direction = label(this, QStringLiteral("CDDIO%1").arg(k), QStringLiteral("IN"), x - 4, 112, 37);
        direction->setAlignment(Qt::AlignCenter);
    }
    Button7 = button(this, "Button7", QStringLiteral("Read"), 436, 48, 52);
    Button8 = button(this, "Button8", QStringLiteral("Save"), 436, 80, 52);
    Button8->setEnabled(false);

    auto* group = place<QGroupBox>(this, "GroupBox5", 8, 136, 478, 118);
    group->setTitle(QStringLiteral("Power ON && Safe state"));
    label(group, QStringLiteral("LabelPON"), QStringLiteral("PON"), 4, 26, 28);
    label(group, QStringLiteral("LabelSAFE"), QStringLiteral("SAFE"), 4, 54, 28);
    for (int k = 0; k < 8; ++k) {
        const int x = columnX(k) - 8;
        // They only show the stored values; Tab reaches them so that the values can be heard.
        auto valueLed = [&](const QString& prefix, int y, const QString& meaning) {
            TVrUserLed* led = lineLed(group, prefix + QString::number(k), x, y);
            reachableByTab(led);
            led->setAccessibleName(led->objectName());
            led->setAccessibleDescription(QStringLiteral("Line %1 %2 state").arg(k).arg(meaning));
        };
        valueLed(QStringLiteral("PON"), 26, QStringLiteral("power-on"));
        valueLed(QStringLiteral("SAFE"), 54, QStringLiteral("safe"));
    }
    Button9 = button(group, "Button9", QStringLiteral("Save PON"), 32, 84, 90);
    Button10 = button(group, "Button10", QStringLiteral("Save Safe"), 132, 84, 90);

    label(this, QStringLiteral("LabelOUTPUT"), QStringLiteral("OUTPUT"), 8, 276, 60);

    connect(&connection, &TerminalConnection::deviceDataChanged, this, &DioPage::ShowDeviceData);
    connect(&connection, &TerminalConnection::lineStateRead, this,
            [this](const std::string& lineByte) { ShowLedBank(QStringLiteral("DIO"), lineByte); });
    connectHandlers();
}

void DioPage::connectHandlers() {
    using Handler = void (DioPage::*)();
    const Handler ledHandlers[8] = {&DioPage::DIO0MouseDown, &DioPage::DIO1MouseDown, &DioPage::DIO2MouseDown,
                                    &DioPage::DIO3MouseDown, &DioPage::DIO4MouseDown, &DioPage::DIO5MouseDown,
                                    &DioPage::DIO6MouseDown, &DioPage::DIO7MouseDown};
    const Handler switchHandlers[8] = {&DioPage::DDIO0Change, &DioPage::DDIO1Change, &DioPage::DDIO2Change,
                                       &DioPage::DDIO3Change, &DioPage::DDIO4Change, &DioPage::DDIO5Change,
                                       &DioPage::DDIO6Change, &DioPage::DDIO7Change};
    const std::array<TVrUserLed*, 8> leds = bank(QStringLiteral("DIO"));
    for (std::size_t k = 0; k < leds.size(); ++k) {
        connect(leds[k], &TVrUserLed::OnMouseDown, this, HandlerGuard::slot(this, ledHandlers[k]));
        onSpace(leds[k], this, [this, handler = ledHandlers[k]] { (this->*handler)(); });
        connect(directionSwitch(static_cast<int>(k)), &TVrSwitch::OnChange, this,
                HandlerGuard::slot(this, switchHandlers[k]));
    }
    connect(Button7, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button7Click));
    connect(Button8, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button8Click));
    connect(Button9, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button9Click));
    connect(Button10, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button10Click));
}

QList<QWidget*> DioPage::TabOrder() const {
    QList<QWidget*> order;
    for (const QString& prefix : {QStringLiteral("DIO"), QStringLiteral("DDIO")})
        for (int k = 7; k >= 0; --k)
            order << findChild<QWidget*>(prefix + QString::number(k));
    order << Button7 << Button8;
    for (const QString& prefix : {QStringLiteral("PON"), QStringLiteral("SAFE")})
        for (int k = 7; k >= 0; --k)
            order << findChild<QWidget*>(prefix + QString::number(k));
    order << Button9 << Button10;
    return order;
}

void DioPage::Enter() {
    if (TerminalConnection::IsError(WriteRow(0, "DIO TEST")))
        connection().lose();
    ShowDirections(connection().device().direction);
}

bool DioPage::Poll() {
    TerminalConnection& terminal = connection();
    if (!terminal.found()) {
        ShowLedBank(QStringLiteral("DIO"), "00");
        return false;
    }
    const std::string shown = ReadLedBank(QStringLiteral("DIO"));
    // Unknown lines (the last read failed) are read, never overwritten with what the LEDs still show.
    const std::string& lineState = terminal.device().lineState;
    if (lineState.empty() || shown == lineState) {
        if (!terminal.readLineState())
            return false;
        ShowLedBank(QStringLiteral("DIO"), terminal.device().lineState);
        return true;
    }
    // An output was clicked since the last exchange: the LEDs are what the lines should be. They are
    // not refreshed from the terminal in this tick.
    const std::string written =
        terminal.Transact(proto::WriteLineState(terminal.address(), proto::ParseHex(shown)));
    if (TerminalConnection::IsError(written))
        return false;
    terminal.setLineState(shown);
    return true;
}

void DioPage::ToggleOutput(int line) {
    if (!connection().found() || directionLabel(line)->text() == QStringLiteral("IN"))
        return;
    TVrUserLed* led = bank(QStringLiteral("DIO"))[static_cast<std::size_t>(line)];
    led->SetActive(!led->Active());
}

void DioPage::DirectionChange(int line) {
    const bool input = directionSwitch(line)->Offset() == 0;
    directionLabel(line)->setText(input ? QStringLiteral("IN") : QStringLiteral("OUT"));
    Button8->setEnabled(true);
}

void DioPage::Button7Click() {
    ShowDirections(connection().device().direction);
}

void DioPage::Button8Click() {
    if (!connection().found())
        return;
    SaveAndReidentify(proto::WriteDirection(connection().address(), DirectionsFromSwitches()));
    Button8->setEnabled(false);
}

void DioPage::Button9Click() {
    SaveAndReidentify(proto::SavePowerOnState(connection().address()));
}

void DioPage::Button10Click() {
    SaveAndReidentify(proto::SaveSafeState(connection().address()));
}

void DioPage::SaveAndReidentify(const proto::Command& command) {
    if (!connection().found())
        return;
    connection().Transact(command);
    connection().lose();
}

int DioPage::DirectionsFromSwitches() const {
    int direction = 0;
    for (int k = 0; k < 8; ++k) {
        if (directionSwitch(k)->Offset() == 0)
            direction += 128 >> k;
    }
    return direction;
}

TVrSwitch* DioPage::directionSwitch(int line) const {
    return findChild<TVrSwitch*>(QStringLiteral("DDIO%1").arg(line));
}

QLabel* DioPage::directionLabel(int line) const {
    return findChild<QLabel*>(QStringLiteral("CDDIO%1").arg(line));
}

void DioPage::ShowDeviceData() {
    const tkm::terminal::DeviceData& device = connection().device();
    ShowDirections(device.direction);
    ShowLedBank(QStringLiteral("PON"), device.powerOn);
    ShowLedBank(QStringLiteral("SAFE"), device.safe);
}

std::array<TVrUserLed*, 8> DioPage::bank(const QString& prefix) const {
    std::array<TVrUserLed*, 8> leds{};
    for (int k = 0; k < 8; ++k)
        leds[static_cast<std::size_t>(k)] = findChild<TVrUserLed*>(prefix + QString::number(k));
    return leds;
}

void DioPage::ShowLedBank(const QString& prefix, const std::string& hexByte) {
    const std::string bits = eightBits(hexByte);
    const std::array<TVrUserLed*, 8> leds = bank(prefix);
    for (std::size_t k = 0; k < leds.size(); ++k) {
        if (leds[k])
            leds[k]->SetActive(bits[k] == '1');
    }
}

std::string DioPage::ReadLedBank(const QString& prefix) const {
    int value = 0;
    const std::array<TVrUserLed*, 8> leds = bank(prefix);
    for (std::size_t k = 0; k < leds.size(); ++k) {
        if (leds[k] && leds[k]->Active())
            value += 128 >> k;
    }
    return proto::HexText(static_cast<std::uint32_t>(value), 2);
}

void DioPage::ShowDirections(const std::string& hexByte) {
    const std::string bits = eightBits(hexByte);
    for (int k = 0; k < 8; ++k) {
        const bool input = bits[static_cast<std::size_t>(k)] == '1';
        directionSwitch(k)->SetOffset(input ? 0 : 1);
        directionLabel(k)->setText(input ? QStringLiteral("IN") : QStringLiteral("OUT"));
    }
    Button8->setEnabled(false);
}
