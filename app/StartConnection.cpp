#include "app/StartConnection.h"

#include "app/HandlerGuard.h"
#include "app/PortPath.h"
#include "app/SimulatedTerminalPort.h"
#include "app/StartOptions.h"
#include "app/TF1.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDevice.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QFileInfo>

namespace {

// The same device: the same path, or links that lead to the same node (a /dev/serial/by-id link
// and the port it names).
bool samePort(const QString& a, const QString& b) {
    if (a == b)
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

StartConnection::StartConnection(TF1& window, RememberedChoices remembered)
    : window_(window), comm_(window.nrComm1), remembered_(std::move(remembered)) {
    openAtStart_.setSingleShot(true);
    openAtStart_.setInterval(0);
    QObject::connect(&openAtStart_, &QTimer::timeout, [this] { openPort(); });
    comm_->NotifyAdd(TnrNotifyEvent::Make(this, &StartConnection::portNotified));
    // Connected after the window's own handler, so the new rate is already the port's.
    baudChosen_ = QObject::connect(window.BR, &QComboBox::activated, [this] {
        if (comm_ && comm_->GetActive())
            rememberOpenPort();
    });
}

StartConnection::~StartConnection() {
    QObject::disconnect(baudChosen_);
    if (comm_)
        comm_->NotifyDelete(TnrNotifyEvent::Make(this, &StartConnection::portNotified));
}

std::optional<quint16> StartConnection::portNumberFor(const QString& port) {
    for (int i = 0; i < comm_->GetDeviceCount(); ++i) {
        const TnrDevice* device = comm_->GetDevice(i);
        if (device->DevicePath.isEmpty() ? device->Name == port : samePort(device->DevicePath, port))
            return static_cast<quint16>(device->Data);
    }
    if (QFileInfo(port).isAbsolute() && PortPath::problem(port).isEmpty())
        return comm_->AddExtraPort(port, port);
    return std::nullopt;
}

void StartConnection::apply(const StartOptions& options) {
    window_.simulatedPort()->setLine(options.simulatorEcho,
                                     std::chrono::milliseconds(options.simulatorTurnaroundMs));
    const std::optional<RememberedChoices::Connection> last = remembered_.load();
    QString wanted;
    if (options.simulator)
        wanted = QString::fromLatin1(SimulatedTerminalPort::kPortName);
    else if (!options.port.isEmpty())
        wanted = options.port;
    else if (last)
        wanted = last->port;
    const std::optional<quint16> chosen = wanted.isEmpty() ? std::nullopt : portNumberFor(wanted);
    if (chosen)
        comm_->SetComPortNo(*chosen);
    comm_->SetRs485(options.rs485 || (!options.choosesPort() && chosen && last && last->rs485));

    // The remembered rate belongs to the remembered port.
    std::optional<int> rate = options.baudRate;
    if (!rate && chosen && last && samePort(wanted, last->port))
        rate = last->baudRate;
    if (rate) {
        const int index = window_.BR->findText(QString::number(*rate));
        if (index >= 0 && index != window_.BR->currentIndex()) {
            window_.BR->setCurrentIndex(index);
            HandlerGuard::run([this] { window_.BRChange(); });
        }
    }

    if (options.checksum) {
        window_.CSE->SetActive(true);
        window_.CSEClick();
    }
    if (options.address)
        window_.Adr->SetPosition(*options.address);
    if (options.open)
        openAtStart_.start();
}

void StartConnection::openPort() {
    if (comm_->GetActive())
        return;
    window_.BOP->SetActive(true);
    HandlerGuard::run([this] { window_.BOPClick(); });
    if (!comm_->GetActive())
        window_.BOP->SetActive(false);
}

void StartConnection::portNotified(TnrBaseIO*, int code) {
    if (code == 2) // opened
        rememberOpenPort();
}

void StartConnection::rememberOpenPort() {
    const int index = comm_->GetDeviceIndex();
    if (index < 0)
        return;
    const TnrDevice* device = comm_->GetDevice(index);
    const RememberedChoices::Connection connection{device->DevicePath.isEmpty() ? device->Name
                                                                                : device->DevicePath,
                                                   window_.BR->currentText().toInt(), comm_->Rs485()};
    if (!remembered_.save(connection))
        qWarning("Could not remember the port in %s", qPrintable(remembered_.filePath()));
}
