// Connection-panel handlers, device identification, address scan, status bar and DIO displays.
#include "app/StatusBarPanels.h"
#include "app/TF1.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"
#include "protocol/Replies.h"

#include "seriallink/TnrComm.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrSwitch.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace proto = tkm::protocol;

namespace {

QString bytesText(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Eight bit characters of a two-hex-digit value, bit 7 first; an empty value counts as "00".
std::string eightBits(const std::string& hexByte) {
    std::string bits = proto::HexToBits(hexByte.empty() ? std::string("00") : hexByte);
    bits.resize(8, '0');
    return bits;
}

} // namespace

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
    nrComm1->SetBaudRate(BR->currentText().toUInt());
    SetPollInterval();
    deviceFound = IdentifyDevice();
}

void TF1::nrDeviceBox1Change() {
    deviceFound = IdentifyDevice();
}

void TF1::AdrIncClick() {
    Adr->SetPosition(Adr->Position() + 1);
}

void TF1::AdrDecClick() {
    Adr->SetPosition(Adr->Position() - 1);
}

void TF1::AdrChange() {
    const int a = address();
    GroupBox1->setTitle(QStringLiteral("ADDRESS=0x") + bytesText(proto::HexText(a, 2)) +
                        QStringLiteral(" / ") + QString::number(a) + QStringLiteral("  "));
    deviceFound = IdentifyDevice();
}

void TF1::CSEClick() {
    deviceFound = false;
}

void TF1::Button4Click() {
    RCVS->clear();
}

bool TF1::IdentifyDevice() {
    // The cache is emptied below; a conversion error that ends the caller's handler must not leave
    // the flag claiming a terminal the cache no longer describes.
    deviceFound = false;
    device.deviceName.clear();
    device.firmware.clear();
    device.cfgBaud.clear();
    device.cfgCodePage.clear();
    device.cfgFormat.clear();
    device.direction.clear();
    device.powerOn.clear();
    device.safe.clear();
    RefreshStatus();

    const int a = address();
    const proto::Command reads[] = {proto::ReadDeviceName(a), proto::ReadFirmware(a), proto::ReadDirection(a),
                                    proto::ReadPowerOnValue(a), proto::ReadSafeValue(a)};
    std::string kept[5];
    for (int i = 0; i < 5; ++i) {
        kept[i] = Transact(reads[i]);
        if (IsError(kept[i]))
            return false;
    }

    device.lineState = Transact(proto::ReadLineState(a));
    if (IsError(device.lineState))
        return false;
    ShowLedBank(QStringLiteral("DIO"), device.lineState);

    if (IsError(Transact(proto::ClearDisplay(a))))
        return false;

    const std::string configuration = Transact(proto::ReadConfiguration(a));
    if (IsError(configuration))
        return false;
    const std::optional<proto::ConfigurationFields> fields = proto::DecodeConfiguration(configuration);
    if (!fields)
        return false;
    device.cfgAddress = fields->address;
    device.cfgBaud = fields->baudCode;
    device.cfgCodePage = fields->codePageCode;
    device.cfgFormat = fields->formatCode;

    if (!WatchdogRead())
        return false;
    WDTEN->SetActive(device.wdtEnabled);
    if (device.wdtEnabled)
        WDTT->SetPosition(device.wdtPeriod);

    device.deviceName = proto::DecodeDeviceName(kept[0]);
    device.firmware = proto::DecodeFirmware(kept[1]);
    device.direction = kept[2];
    device.powerOn = kept[3];
    device.safe = kept[4];
    RefreshStatus();
    return true;
}

bool TF1::WatchdogRead() {
    device.wdtEnabled = false;
    device.wdtPeriod = 0;
    const std::string reply = Transact(proto::ReadWatchdogState(address()));
    if (IsError(reply))
        return false;
    const std::optional<proto::WatchdogState> state = proto::DecodeWatchdogState(reply);
    if (!state)
        return false;
    device.wdtEnabled = state->enabled;
    device.wdtPeriod = state->periodTenths;
    return true;
}

bool TF1::WatchdogSet() {
    if (!deviceFound)
        return false;
    return !IsError(Transact(proto::WriteWatchdog(address(), WDTEN->Active(), WDTT->Position())));
}

void TF1::AddressScan() {
    Timer1->stop();
    for (;;) {
        if (!Scan->Active())
            break;
        if (!portOpen()) {
            Scan->SetActive(false);
            break;
        }
        if (Adr->Position() >= 255)
            break;
        Adr->SetPosition(Adr->Position() + 1); // AdrChange identifies the terminal there
        Timer1->stop();
        if (deviceFound) {
            Scan->SetActive(false);
            break;
        }
    }
    if (!deviceFound)
        Adr->SetPosition(0);
    Scan->SetActive(false);
    Timer1->start();
}

void TF1::RefreshStatus() {
    StBar->setPanelText(1, bytesText(device.deviceName));
    StBar->setPanelText(3, bytesText(device.firmware));

    const std::string_view codePage = proto::CodePageName(device.cfgCodePage);
    StBar->setPanelText(5, QString::fromLatin1(codePage.data(), static_cast<qsizetype>(codePage.size())));

    QString checksum;
    if (device.cfgFormat == "00")
        checksum = QStringLiteral("OFF");
    else if (device.cfgFormat == "40")
        checksum = QStringLiteral("ON");
    StBar->setPanelText(7, checksum);

    ShowDirections(device.direction);
    ShowLedBank(QStringLiteral("PON"), device.powerOn);
    ShowLedBank(QStringLiteral("SAFE"), device.safe);
}

void TF1::ShowLedBank(const QString& prefix, const std::string& hexByte) {
    const std::string bits = eightBits(hexByte);
    for (int k = 0; k < 8; ++k) {
        if (auto* lamp = findChild<TVrUserLed*>(prefix + QString::number(k)))
            lamp->SetActive(bits[static_cast<std::size_t>(k)] == '1');
    }
}

std::string TF1::ReadLedBank(const QString& prefix) const {
    int value = 0;
    for (int k = 0; k < 8; ++k) {
        const auto* lamp = findChild<TVrUserLed*>(prefix + QString::number(k));
        if (lamp && lamp->Active())
            value += 128 >> k;
    }
    return proto::HexText(static_cast<std::uint32_t>(value), 2);
}

void TF1::ShowDirections(const std::string& hexByte) {
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
