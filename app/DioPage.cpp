#include "app/DioPage.h"

#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"

#include "protocol/Conversions.h"

#include "widgets/TVrSwitch.h"
#include "widgets/TVrUserLed.h"

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
        lineLed(this, QStringLiteral("DIO%1").arg(k), x, 26);
        auto* sw = place<TVrSwitch>(this, QStringLiteral("DDIO%1").arg(k), x, 48, 29, 60);
        sw->SetPositions(2);
        sw->SetOffset(0);
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
        lineLed(group, QStringLiteral("PON%1").arg(k), x, 26);
        lineLed(group, QStringLiteral("SAFE%1").arg(k), x, 54);
    }
    Button9 = button(group, "Button9", QStringLiteral("Save PON"), 32, 84, 90);
    Button10 = button(group, "Button10", QStringLiteral("Save Safe"), 132, 84, 90);

    label(this, QStringLiteral("LabelOUTPUT"), QStringLiteral("OUTPUT"), 8, 276, 60);

    connect(&connection, &TerminalConnection::deviceDataChanged, this, &DioPage::ShowDeviceData);
    connect(&connection, &TerminalConnection::lineStateRead, this,
            [this](const std::string& lineByte) { ShowLedBank(QStringLiteral("DIO"), lineByte); });
}

void DioPage::Enter() {
    if (TerminalConnection::IsError(WriteRow(0, "DIO TEST")))
        connection().lose();
    ShowDirections(connection().device().direction);
}

void DioPage::ShowDeviceData() {
    const DeviceData& device = connection().device();
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
        if (auto* sw = findChild<TVrSwitch*>(QStringLiteral("DDIO%1").arg(k)))
            sw->SetOffset(input ? 0 : 1);
        if (auto* caption = findChild<QLabel*>(QStringLiteral("CDDIO%1").arg(k)))
            caption->setText(input ? QStringLiteral("IN") : QStringLiteral("OUT"));
    }
    Button8->setEnabled(false);
}
