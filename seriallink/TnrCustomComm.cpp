// TnrCustomComm: construction, line settings, open, close and halt.
#include "TnrCustomComm.h"

#include "NrLineSettings.h"
#include "SerialDevice.h"
#include "SystemError.h"
#include "TCommThread.h"
#include "TMsgThread.h"
#include "TnrCustomDataProcessor.h"
#include "TnrException.h"
#include "UucpLock.h"

#include <QSocketNotifier>
#include <QThread>
#include <cerrno>

TnrCustomComm::TnrCustomComm(QObject* parent)
    : TnrBaseIO(parent), FPort(CreatePlatformSerialDevice()), FLockFolder(UucpLock::DefaultFolder()) {
    FTimeouts.WriteTotalTimeoutMultiplier = 100;
}

TnrCustomComm::~TnrCustomComm() {
    JoinRetiredThreads();
    SetDataProcessor(nullptr);
    OnTraceState = nullptr;
    Close();
}

void TnrCustomComm::SetSerialDevice(std::unique_ptr<SerialDevice> device) {
    if (!IsHandleValid() && device)
        FPort = std::move(device);
}

// ---- line settings ----

quint32 TnrCustomComm::BaudRate() {
    DCBUpdate();
    return FConfig.dcb.BaudRate;
}

void TnrCustomComm::SetBaudRate(quint32 value) {
    FConfig.dcb.BaudRate = value;
    DCBApply();
}

TParity TnrCustomComm::Parity() {
    DCBUpdate();
    return static_cast<TParity>(FConfig.dcb.Parity);
}

void TnrCustomComm::SetParity(TParity value) {
    FConfig.dcb.Parity = static_cast<quint8>(value);
    if (value == pNone)
        FConfig.dcb.Flags &= ~NrDcb::fParity;
    else
        FConfig.dcb.Flags |= NrDcb::fParity;
    DCBApply();
}

TStopBits TnrCustomComm::StopBits() {
    DCBUpdate();
    return static_cast<TStopBits>(FConfig.dcb.StopBits);
}

void TnrCustomComm::SetStopBits(TStopBits value) {
    FConfig.dcb.StopBits = static_cast<quint8>(value);
    DCBApply();
}

quint8 TnrCustomComm::ByteSize() {
    DCBUpdate();
    return FConfig.dcb.ByteSize;
}

void TnrCustomComm::SetByteSize(quint8 value) {
    FConfig.dcb.ByteSize = NrLineSettings::NormalisedByteSize(value);
    DCBApply();
}

TStreamProtocol TnrCustomComm::StreamProtocol() {
    DCBUpdate();
    return NrLineSettings::ReadStreamProtocol(FConfig.dcb);
}

void TnrCustomComm::SetStreamProtocol(TStreamProtocol value) {
    NrLineSettings::ApplyStreamProtocol(FConfig.dcb, value);
    DCBApply();
}

char TnrCustomComm::GetEventChar() {
    DCBUpdate();
    return FConfig.dcb.EvtChar;
}

void TnrCustomComm::SetEventChar(char value) {
    FConfig.dcb.EvtChar = value;
    DCBApply();
}

void TnrCustomComm::DCBUpdate() {
    FConfig.dwSize = 52;
    FConfig.dcb.DCBlength = 28;
    if (PortReady())
        FPort->ReadSettings(FConfig.dcb);
}

void TnrCustomComm::DCBApply() {
    FConfig.dwSize = 52;
    FConfig.dcb.DCBlength = 28;
    if (PortReady())
        FPort->ApplySettings(FConfig.dcb);
}

// The tty layer has no queue-size requests; the sizes stay ours and the driver reports none, so the
// stored values are what the getters return.
void TnrCustomComm::SetupComm(quint16, quint16) {}

quint16 TnrCustomComm::BufferInSize() {
    if (PortReady() && (GetCommProp().dwCurrentRxQueue & 0xFFFF) != 0)
        FBufferInSize = static_cast<quint16>(FCommProp.dwCurrentRxQueue);
    return FBufferInSize;
}

void TnrCustomComm::SetBufferInSize(quint16 value) {
    if (PortReady())
        SetupComm(value, FBufferOutSize);
    else
        FBufferInSize = value;
}

quint16 TnrCustomComm::BufferOutSize() {
    if (PortReady() && (GetCommProp().dwCurrentTxQueue & 0xFFFF) != 0)
        FBufferOutSize = static_cast<quint16>(FCommProp.dwCurrentTxQueue);
    return FBufferOutSize;
}

void TnrCustomComm::SetBufferOutSize(quint16 value) {
    if (PortReady())
        SetupComm(FBufferInSize, value);
    else
        FBufferOutSize = value;
}

TCommProp TnrCustomComm::GetCommProp() {
    FCommProp = TCommProp{};
    return FCommProp;
}

quint32 TnrCustomComm::TimeoutRead() {
    return GetTimeouts().ReadTotalTimeoutMultiplier;
}

void TnrCustomComm::SetTimeoutRead(quint32 msPerByte) {
    TCommTimeouts t = FTimeouts;
    t.ReadTotalTimeoutMultiplier = msPerByte;
    SetTimeOuts(t);
}

quint32 TnrCustomComm::TimeoutWrite() {
    return GetTimeouts().WriteTotalTimeoutMultiplier;
}

void TnrCustomComm::SetTimeoutWrite(quint32 msPerByte) {
    TCommTimeouts t = FTimeouts;
    t.WriteTotalTimeoutMultiplier = msPerByte;
    SetTimeOuts(t);
}

// The time-outs are applied by our own read and write loops, so the record is all there is.
void TnrCustomComm::SetTimeOuts(const TCommTimeouts& timeouts) {
    FTimeouts = timeouts;
}

TCommTimeouts TnrCustomComm::GetTimeouts() {
    return FTimeouts;
}

quint32 TnrCustomComm::ReadTimeoutFor(quint32 count) const {
    return FTimeouts.ReadTotalTimeoutMultiplier * count + FTimeouts.ReadTotalTimeoutConstant;
}

quint32 TnrCustomComm::WriteTimeoutFor(quint32 count) const {
    return FTimeouts.WriteTotalTimeoutMultiplier * count + FTimeouts.WriteTotalTimeoutConstant;
}

void TnrCustomComm::SetTraceStates(TTraceStates states) {
    FTraceStates = states;
    if (PortReady() && FChannel) {
        FChannel->SetEventMask(NrLineSettings::EventMaskFor(states));
        UpdateModemWatch();
    }
}

QString TnrCustomComm::GetPortName() {
    return QStringLiteral("Unknown");
}

// ---- open and close ----

int TnrCustomComm::OpenDevicePath(const QString& path) {
    if (path.isEmpty()) {
        SetOpenFailure(ENOENT, path);
        return InvalidHandle;
    }
    FPort->SetLockFolder(FLockFolder);
    if (const int err = FPort->Open(path)) {
        SetOpenFailure(err, path);
        return InvalidHandle;
    }
    return FPort->Handle();
}

int TnrCustomComm::AdoptDeviceHandle(int fd) {
    if (const int err = FPort->Adopt(fd)) {
        SetOpenFailure(err, QString());
        return InvalidHandle;
    }
    return FPort->Handle();
}

void TnrCustomComm::SetOpenFailure(int error, const QString& path) {
    FOpenFailureText = SystemError::OpenFailureText(error, path, FPort->OpenRefusal());
}

void TnrCustomComm::Open() {
    Close();
    FTotalReceived = 0;
    FTotalSent = 0;
    FOpenFailureText = SystemError::Message(ENODEV);
    FHandle = RequestDeviceHandle();
    if (IsHandleValid() && !SetUpFieldLine()) {
        FPort->Close();
        FHandle = InvalidHandle;
    }
    if (!IsHandleValid()) {
        FLastOpenError =
            QStringLiteral("Device \"%1\" Open Error !!!\r%2").arg(GetPortName(), FOpenFailureText);
        DoFatalErrors(1, 0, FLastOpenError, false);
        return;
    }
    FReadBuffer = QByteArray(BufferInSize(), '\0');
    FEventList.PrepareBuffer(static_cast<quint32>(FReadBuffer.size()));
    LoggingFmt(dlSimple, QStringLiteral("The port %s succesful opened"), {GetPortName()});
    StartThreads();
    InitAfterOpen();
    SetTraceStates(FTraceStates);
    DoTraceStates(this, {tsTxEmpty});
    DoNotify(2);
    ReportFieldLine();
    ReportSharing();
    if (FChannel)
        FChannel->Arm();
}

void TnrCustomComm::ReportSharing() {
    const QString shared = FPort->SharedWith();
    if (shared.isEmpty() || !IsHandleValid())
        return;
    const QString key = GetPortName() + QLatin1Char('\n') + shared;
    if (FWarnedSharing.contains(key))
        return;
    FWarnedSharing.insert(key);
    const QString text = QStringLiteral("%1 is also open in %2, which took no lock: both programs read the "
                                        "line, so replies may go missing.")
                             .arg(GetPortName(), shared);
    Logging(dlSimple, text);
    if (OnWarning)
        OnWarning(this, text);
}

void TnrCustomComm::InitAfterOpen() {
    SetupComm(FBufferInSize, FBufferOutSize);
    SetTimeOuts(FTimeouts);
}

void TnrCustomComm::Close() {
    JoinRetiredThreads();
    if (IsHandleValid()) {
        try {
            ForceHalt(true);
            StopThreads();
            Logging(dlSimple, QStringLiteral("The port is succesful closed"));
        } catch (...) {
            StopThreads();
            RestoreFieldLine();
            FPort->Close();
            FReadBuffer = QByteArray();
            FHalting = false;
            BaseClose();
        }
    }
    DoTraceStates(this, {tsTxEmpty});
}

void TnrCustomComm::ForceHalt(bool graceful) {
    if (!IsHandleValid() || FHalting)
        return;
    FHalting = true;
    // The worker threads end first: no thread may use the handle or the read buffer once they go,
    // and a dispatch still running on the message thread (no application) must not find its bytes
    // purged under it.
    StopThreads();
    if (graceful && GetNotYetSend() > 0)
        ClearDeviceBuffers();
    FPendingOut.clear();
    delete FWriteNotifier;
    FWriteNotifier = nullptr;
    RestoreFieldLine();
    FPort->Close();
    FReadBuffer = QByteArray();
    FHalting = false;
    BaseClose();
    DoNotify(1);
}

void TnrCustomComm::HandleLineFailure() {
    if (FHalting || !FChannel || !FChannel->Failed() || !IsHandleValid())
        return;
    const QString text = QStringLiteral("The device %1 went away (%2); the port is closed.")
                             .arg(GetPortName(), SystemError::Message(FChannel->FailureError()));
    ForceHalt(false);
    Logging(dlSimple, text);
    if (!OnDeviceLost)
        return;
    try {
        OnDeviceLost(this, text);
    } catch (const std::exception& e) {
        // This may run from the event loop, which no exception may cross.
        const auto* own = dynamic_cast<const TnrException*>(&e);
        PresentError(QStringLiteral("Error"), own ? own->Message() : QString::fromLocal8Bit(e.what()));
    }
}

void TnrCustomComm::CheckDeferredClose() {
    if (FChannel && FChannel->Failed() && thread() == QThread::currentThread())
        HandleLineFailure();
}

bool TnrCustomComm::PortReady() {
    CheckDeferredClose();
    return IsHandleValid();
}

void TnrCustomComm::NoteDeviceError(int error) {
    // The comm thread sees the hang-up too; reporting it here closes the port even before it does.
    if (FChannel && SystemError::MeansDeviceGone(error))
        FChannel->ReportFailure(error);
}

void TnrCustomComm::DoCommError(quint32 commCode, quint32 sysError, TComStateFlags state) {
    LoggingFmt(dlDetail, QStringLiteral("Communication Error %d:%d"), {commCode, sysError});
    if (!OnCommError)
        return;
    bool flush = false;
    OnCommError(this, commCode, sysError, state, flush);
    if (flush)
        ClearDeviceBuffers();
}
