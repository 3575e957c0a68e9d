// TnrCustomComm: sending, reading, queues, modem lines and the waiting services.
#include "TnrCustomComm.h"

#include "SerialDevice.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>
#include <cerrno>
#include <cstring>

int TnrCustomComm::WriteInOrder(const char* bytes, quint32 count) {
    if (!FPendingOut.isEmpty()) {
        const auto held = static_cast<quint32>(FPendingOut.size());
        quint32 written = 0;
        const int err = DeviceWrite(FPendingOut.constData(), held, WriteTimeoutFor(held), written);
        FPendingOut.remove(0, written);
        if (err == ETIMEDOUT)
            return err; // the line is stalled: the rest stays held and follows when it moves
        DropHeldOutput();
        if (err)
            return err;
    }
    quint32 written = 0;
    return DeviceWrite(bytes, count, WriteTimeoutFor(count), written);
}

void TnrCustomComm::DropHeldOutput() {
    FPendingOut.clear();
    if (FWriteNotifier)
        FWriteNotifier->setEnabled(false);
}

bool TnrCustomComm::WriteOneChar(char c, bool ahead) {
    quint32 written = 0;
    const int err = ahead ? DeviceWrite(&c, 1, WriteTimeoutFor(1), written) : WriteInOrder(&c, 1);
    if (err) {
        NoteDeviceError(err);
        DoCommError(0, static_cast<quint32>(err), {});
        return false;
    }
    FTotalSent += 1;
    return true;
}

void TnrCustomComm::SendChar(char c) {
    if (!PortReady())
        return;
    if (Log()) // the arguments are built only for a linked log: a frame goes out with every exchange
        LoggingFmt(dlDebug, QStringLiteral("Try to send char %2Xh ..."), {static_cast<uchar>(c)});
    if (!WriteOneChar(c, false))
        return;
    NoteTransmitted();
    if (OnAfterSend)
        OnAfterSend(this);
}

void TnrCustomComm::SendString(const QByteArray& s) {
    if (!PortReady() || s.isEmpty())
        return;
    if (Log())
        LoggingFmt(dlDebug, QStringLiteral("Try to send string %s ..."), {QString::fromLatin1(s)});
    const auto length = static_cast<quint32>(s.size());
    if (const int err = WriteInOrder(s.constData(), length)) {
        NoteDeviceError(err);
        DoCommError(0, static_cast<quint32>(err), {});
        return;
    }
    FTotalSent += length;
    NoteTransmitted();
    if (OnAfterSend)
        OnAfterSend(this);
}

void TnrCustomComm::SendData(const char* bytes, quint32 length) {
    if (!PortReady())
        return;
    if (Log())
        LoggingFmt(dlDebug, QStringLiteral("Try to send the data with %d length ..."), {length});
    if (length > 0)
        FPendingOut.append(bytes, length);
    WritePending();
    if (!IsHandleValid())
        return;
    FTotalSent += length;
    Logging(dlDebug, QStringLiteral("... the data transmittion is OK!"));
}

void TnrCustomComm::WritePending() {
    while (!FPendingOut.isEmpty()) {
        quint32 written = 0;
        // A zero time-out means "as much as fits now" only with a deadline already due: use 1 ms.
        const int err =
            DeviceWrite(FPendingOut.constData(), static_cast<quint32>(FPendingOut.size()), 1, written);
        FPendingOut.remove(0, written);
        if (err == ETIMEDOUT)
            break;
        if (err) {
            DropHeldOutput();
            NoteDeviceError(err);
            DoCommError(0, static_cast<quint32>(err), {});
            return;
        }
    }
    if (FPendingOut.isEmpty()) {
        DropHeldOutput();
        NoteTransmitted();
        return;
    }
    if (!QCoreApplication::instance()) {
        // No event loop to continue from: finish the write here.
        quint32 written = 0;
        const auto rest = static_cast<quint32>(FPendingOut.size());
        const int err = DeviceWrite(FPendingOut.constData(), rest, 0, written);
        FPendingOut.clear();
        if (err)
            DoCommError(0, static_cast<quint32>(err), {});
        return;
    }
    if (!FWriteNotifier) {
        FWriteNotifier = new QSocketNotifier(FPort->Handle(), QSocketNotifier::Write, this);
        connect(FWriteNotifier, &QSocketNotifier::activated, this, [this] {
            if (IsHandleValid())
                WritePending();
        });
    }
    FWriteNotifier->setEnabled(true);
}

void TnrCustomComm::NoteTransmitted() {
    if (FChannel && (FChannel->EventMask() & NrEv::TxEmpty))
        FChannel->Source().NoteTransmit();
}

bool TnrCustomComm::Read(char* buffer, quint32 count) {
    if (!PortReady())
        return false;
    quint32 got = 0;
    const int err = FPort->Read(buffer, count, ReadTimeoutFor(count), got);
    FTotalReceived += got;
    NoteTaken(buffer, got);
    if (err)
        NoteDeviceError(err);
    return err == 0;
}

bool TnrCustomComm::HoldsEventChar(const char* block, quint32 count) const {
    return count > 0 && memchr(block, FConfig.dcb.EvtChar, count) != nullptr;
}

void TnrCustomComm::NoteTaken(const char* block, quint32 count) {
    // Linux has no event character of its own: the event fires when a block taken from the input
    // queue holds it, through the dispatcher like every line event.
    if (FChannel && FTraceStates.Contains(tsRxFlag) && HoldsEventChar(block, count))
        FChannel->PushEvent(NrEv::RxFlag);
}

bool TnrCustomComm::ReadAll(char* buffer) {
    return Read(buffer, GetReadyForRead());
}

QByteArray TnrCustomComm::ReadString() {
    const quint32 waiting = GetReadyForRead();
    QByteArray result(static_cast<qsizetype>(waiting), '\0');
    if (waiting > 0)
        Read(result.data(), waiting);
    return result;
}

bool TnrCustomComm::QueryLineStatus(SerialLineStatus& status) {
    if (const int err = FPort->Status(status)) {
        NoteDeviceError(err);
        return false;
    }
    FComStat = {status.Flags, status.InQueue, status.OutQueue};
    return true;
}

quint32 TnrCustomComm::GetReadyForRead() {
    SerialLineStatus status;
    if (!PortReady() || !QueryLineStatus(status))
        return 0;
    return status.InQueue;
}

quint32 TnrCustomComm::GetNotYetSend() {
    SerialLineStatus status;
    if (!PortReady() || !QueryLineStatus(status))
        return 0;
    return status.OutQueue + static_cast<quint32>(FPendingOut.size());
}

void TnrCustomComm::ClearDeviceInput() {
    if (PortReady())
        FPort->Purge(true, false);
}

void TnrCustomComm::ClearDeviceOutput() {
    if (!PortReady())
        return;
    DropHeldOutput();
    FPort->Purge(false, true);
}

void TnrCustomComm::ClearDeviceBuffers() {
    if (!PortReady())
        return;
    DropHeldOutput();
    FPort->Purge(true, true);
}

void TnrCustomComm::FlushOutputBuffer() {
    if (PortReady())
        FPort->Drain();
}

TModemSignals TnrCustomComm::GetStateModemSignals() {
    TModemSignals present;
    if (PortReady() && FPort->ModemSignals(present) != 0)
        present = {};
    return present;
}

void TnrCustomComm::SetStateDTR(bool on) {
    if (!PortReady())
        return;
    FPort->SetModemLine(SerialDevice::LineDTR, on);
    DoTraceStates(this, {tsDSR});
}

void TnrCustomComm::SetStateRTS(bool on) {
    if (!PortReady())
        return;
    FPort->SetModemLine(SerialDevice::LineRTS, on);
    DoTraceStates(this, {tsCTS});
}

void TnrCustomComm::SetStateX(bool xon) {
    if (PortReady())
        FPort->SetFlowState(xon);
}

void TnrCustomComm::SetStateBreak(bool on) {
    if (PortReady())
        FPort->SetBreak(on);
}

void TnrCustomComm::SendAheadChar(char c) {
    if (PortReady())
        WriteOneChar(c, true);
}

namespace {
void PauseOneMillisecond() {
    QThread::msleep(1);
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}
} // namespace

bool TnrCustomComm::WaitForBytes(quint32 count, quint32 timeoutMs) {
    if (!PortReady())
        return false;
    const TTraceStates saved = FTraceStates;
    SetTraceStates(TTraceStates(saved).Exclude(tsRxChar));
    const QDeadlineTimer deadline(timeoutMs);
    bool found = false;
    while (!deadline.hasExpired() && PortReady()) {
        if (GetReadyForRead() >= count) {
            found = true;
            break;
        }
        PauseOneMillisecond();
    }
    SetTraceStates(saved);
    return found;
}

bool TnrCustomComm::WaitForSignal(TModemSignal signal, quint32 timeoutMs) {
    if (!PortReady())
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (GetStateModemSignals().Contains(signal))
            return true;
        PauseOneMillisecond();
        if (deadline.hasExpired() || !PortReady())
            return false;
    }
}
