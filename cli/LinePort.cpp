#include "cli/LinePort.h"

#include "cli/InputPoll.h"
#include "cli/ToolError.h"

#include "seriallink/SerialDevice.h"
#include "seriallink/TnrComm.h"
#include "seriallink/TnrException.h"

#include <QRegularExpression>

namespace {

// The port component's open failure, told as the window's message box tells it ("Device "X" Open
// Error !!!", a line break, the reason), in a shell's words: "cannot open X: reason".
QString toolMessage(QString text) {
    text.replace(u'\r', u'\n');
    static const QRegularExpression head(QStringLiteral("^Device \"(.*)\" Open Error !!!\n"));
    if (const QRegularExpressionMatch match = head.match(text); match.hasMatch())
        text = QStringLiteral("cannot open %1: ").arg(match.captured(1)) + text.mid(match.capturedLength());
    text.replace(QStringLiteral(" and choose the port again."), QStringLiteral("."));
    return text;
}

} // namespace

LinePort::LinePort() : comm_(std::make_unique<TnrComm>()) {
    comm_->SetWatchDeviceChanges(false);
    comm_->SetBaudRate(9600);
    comm_->SetParity(pNone);
    comm_->SetStopBits(sbOne);
    comm_->SetByteSize(8);
    comm_->SetStreamProtocol(spNone);
    comm_->SetBufferInSize(128);
    comm_->SetBufferOutSize(128);
    comm_->SetTimeoutRead(0);
    comm_->SetTimeoutWrite(100);
}

LinePort::~LinePort() {
    try {
        comm_->SetActive(false);
    } catch (...) {
        // Closing restores the line settings found at open; nothing more to do when that fails.
    }
}

void LinePort::open(const QString& path, int baudRate) {
    path_ = path;
    // Named by its path, as the window names a port given on its command line.
    comm_->SetComPortNo(comm_->AddExtraPort(path, path));
    comm_->SetBaudRate(static_cast<quint32>(baudRate));
    try {
        comm_->SetActive(true);
    } catch (const TnrException& e) {
        throw PortError(toolMessage(e.Message()));
    }
    if (!comm_->GetActive())
        throw PortError(toolMessage(comm_->LastOpenError()));
}

void LinePort::setBaudRate(int baudRate) {
    comm_->SetBaudRate(static_cast<quint32>(baudRate));
}

void LinePort::setRs485(bool on) {
    comm_->SetRs485(on);
}

void LinePort::setLatencyBudget(int milliseconds) {
    comm_->SetLatencyBudget(milliseconds);
}

void LinePort::setNotices(Notice warning, Notice note) {
    comm_->OnWarning = [warning = std::move(warning)](TnrCustomComm*, const QString& text) {
        if (warning)
            warning(text);
    };
    comm_->OnNote = [note = std::move(note)](TnrCustomComm*, const QString& text) {
        if (note)
            note(text);
    };
}

bool LinePort::GetActive() const {
    return comm_->GetActive();
}

std::string LinePort::ReadString() {
    const QByteArray bytes = comm_->ReadString();
    std::string read(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (!sent_.empty())
        received_ += read;
    return read;
}

void LinePort::beginExchange() {
    sent_.clear();
    received_.clear();
}

std::string LinePort::lastReceived() const {
    if (!sent_.empty() && received_.starts_with(sent_))
        return received_.substr(sent_.size());
    return received_;
}

void LinePort::SendString(const std::string& bytes) {
    sent_ = bytes;
    received_.clear();
    comm_->SendString(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

LinePort::InputWait LinePort::WaitForInput(std::chrono::milliseconds timeout) {
    const SerialDevice* device = comm_->Device();
    if (!comm_->GetActive() || !device)
        return InputWait::TimedOut;
    switch (InputPoll::waitReadable(device->Handle(), timeout)) {
    case InputPoll::Result::Readable:
        return InputWait::Arrived;
    case InputPoll::Result::TimedOut:
    case InputPoll::Result::Failed:
        // A line that fails answers nothing more: the exchange ends with what it has.
        return InputWait::TimedOut;
    }
    return InputWait::TimedOut;
}
