#include "cli/LinePort.h"

#include "cli/InputPoll.h"
#include "cli/ToolError.h"

#include "seriallink/SerialDevice.h"
#include "seriallink/TnrComm.h"
#include "seriallink/TnrException.h"

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
        // The window's box shows the message's line break; a terminal needs a newline.
        throw PortError(e.Message().replace(u'\r', u'\n'));
    }
    if (!comm_->GetActive())
        throw PortError(comm_->LastOpenError().replace(u'\r', u'\n'));
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
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void LinePort::SendString(const std::string& bytes) {
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
