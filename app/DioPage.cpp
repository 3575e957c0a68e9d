#include "app/DioPage.h"

#include "app/HandlerGuard.h"
#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"

#include "terminal/Dio.h"

#include "protocol/Conversions.h"

#include "widgets/TVrSwitch.h"
#include "widgets/TVrUserLed.h"
#include "widgets/VrStateTexts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace proto = tkm::protocol;
namespace term = tkm::terminal;

namespace {

// Eight bit characters of a two-hex-digit value, bit 7 first; an empty value counts as "00".
std::string eightBits(const std::string& hexByte) {
    std::string bits = proto::HexToBits(hexByte.empty() ? std::string("00") : hexByte);
    bits.resize(8, '0');
    return bits;
}

// The byte whose bit 7 - k is set where character k of `bits` is '1'.
std::uint8_t byteOf(const std::string& bits) {
    std::uint8_t byte = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        if (bits[k] == '1')
            byte |= static_cast<std::uint8_t>(0x80 >> k);
    }
    return byte;
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
        Line& line = lines_[static_cast<std::size_t>(k)];
        line.led = lineLed(this, QStringLiteral("DIO%1").arg(k), x, 26);
        reachableByTab(line.led);
        line.led->setAccessibleName(line.led->objectName());
        line.led->setAccessibleDescription(QStringLiteral("Line %1 state").arg(k));
        auto* sw = place<TVrSwitch>(this, QStringLiteral("DDIO%1").arg(k), x, 48, 29, 60);
        sw->SetPositions(2);
        sw->SetOffset(0);
        reachableByTab(sw);
        sw->setAccessibleName(QStringLiteral("Line %1 direction").arg(k));
        VrStateTexts::Set(sw, {QStringLiteral("IN"), QStringLiteral("OUT")});
        auto* direction = label(this, QStringLiteral("CDDIO%1").arg(k), QStringLiteral("IN"), x - 4, 112, 37);
        direction->setAlignment(Qt::AlignCenter);
        line.direction = sw;
        line.caption = direction;
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
            return led;
        };
        Line& line = lines_[static_cast<std::size_t>(k)];
        line.powerOn = valueLed(QStringLiteral("PON"), 26, QStringLiteral("power-on"));
        line.safe = valueLed(QStringLiteral("SAFE"), 54, QStringLiteral("safe"));
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
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        connect(lines_[k].led, &TVrUserLed::OnMouseDown, this, HandlerGuard::slot(this, ledHandlers[k]));
        onSpace(lines_[k].led, this, [this, handler = ledHandlers[k]] { (this->*handler)(); });
        connect(lines_[k].direction, &TVrSwitch::OnChange, this, HandlerGuard::slot(this, switchHandlers[k]));
    }
    connect(Button7, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button7Click));
    connect(Button8, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button8Click));
    connect(Button9, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button9Click));
    connect(Button10, &QPushButton::clicked, this, HandlerGuard::slot(this, &DioPage::Button10Click));
}

QList<QWidget*> DioPage::TabOrder() const {
    QList<QWidget*> order;
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
        order << line->led;
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
        order << line->direction;
    order << Button7 << Button8;
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
        order << line->powerOn;
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
        order << line->safe;
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
    const std::string shown = proto::HexText(outputs_, 2);
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
    if (!term::WriteLines(terminal, terminal.address(), outputs_))
        return false;
    terminal.setLineState(shown);
    return true;
}

void DioPage::ToggleOutput(int line) {
    if (!connection().found() || (directions_ & bit(line)))
        return;
    outputs_ = static_cast<std::uint8_t>(outputs_ ^ bit(line));
    lines_[static_cast<std::size_t>(line)].led->SetActive((outputs_ & bit(line)) != 0);
}

void DioPage::DirectionChange(int line) {
    const Line& l = lines_[static_cast<std::size_t>(line)];
    const bool input = l.direction->Offset() == 0;
    directions_ = static_cast<std::uint8_t>(input ? directions_ | bit(line) : directions_ & ~bit(line));
    l.caption->setText(input ? QStringLiteral("IN") : QStringLiteral("OUT"));
    Button8->setEnabled(true);
}

void DioPage::Button7Click() {
    ShowDirections(connection().device().direction);
}

void DioPage::Button8Click() {
    if (!connection().found())
        return;
    SaveAndReidentify(
        [this](TerminalConnection& c) { return term::SaveDirections(c, c.address(), directions_); });
    Button8->setEnabled(false);
}

void DioPage::Button9Click() {
    SaveAndReidentify([](TerminalConnection& c) { return term::SavePowerOnState(c, c.address()); });
}

void DioPage::Button10Click() {
    SaveAndReidentify([](TerminalConnection& c) { return term::SaveSafeState(c, c.address()); });
}

void DioPage::SaveAndReidentify(const std::function<term::Result<>(TerminalConnection&)>& save) {
    if (!connection().found())
        return;
    // Whatever the reply, the identification that follows shows what the terminal took.
    (void)save(connection());
    connection().lose();
}

int DioPage::DirectionsFromSwitches() const {
    return directions_;
}

void DioPage::ShowDeviceData() {
    const tkm::terminal::DeviceData& device = connection().device();
    ShowDirections(device.direction);
    ShowLedBank(QStringLiteral("PON"), device.powerOn);
    ShowLedBank(QStringLiteral("SAFE"), device.safe);
}

std::array<TVrUserLed*, 8> DioPage::bank(const QString& prefix) const {
    TVrUserLed* Line::*member = prefix == QLatin1StringView("PON")    ? &Line::powerOn
                                : prefix == QLatin1StringView("SAFE") ? &Line::safe
                                                                      : &Line::led;
    std::array<TVrUserLed*, 8> leds{};
    for (std::size_t k = 0; k < leds.size(); ++k)
        leds[k] = lines_[k].*member;
    return leds;
}

void DioPage::ShowLedBank(const QString& prefix, const std::string& hexByte) {
    const std::string bits = eightBits(hexByte);
    if (prefix == QLatin1StringView("DIO"))
        outputs_ = byteOf(bits);
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
    directions_ = byteOf(bits);
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        const bool input = bits[k] == '1';
        lines_[k].direction->SetOffset(input ? 0 : 1);
        lines_[k].caption->setText(input ? QStringLiteral("IN") : QStringLiteral("OUT"));
    }
    Button8->setEnabled(false);
}
