#include "TnrCustomDataProcessor.h"

#include "TnrBaseIO.h"
#include "TnrCustomLogFile.h"
#include "TnrException.h"
#include "TnrTimer.h"

TnrCustomDataProcessor::TnrCustomDataProcessor(QObject* parent)
    : QObject(parent), FTimer(new TnrTimer(this)) {
    FTimer->SetEnabled(false);
    FTimer->SetOnTimer([this](TnrTimer*) { DoAsyncTimeout(); });
}

TnrCustomDataProcessor::~TnrCustomDataProcessor() {
    SetDevice(nullptr);
}

void TnrCustomDataProcessor::DoHandleNotify(TnrBaseIO*, int code) {
    if (code == 1)
        DoMediumClosed();
    else if (code == 2)
        DoMediumOpened();
}

void TnrCustomDataProcessor::DoMediumClosed() {
    Logging(dlDebug, QStringLiteral("Medium Closed"));
}

void TnrCustomDataProcessor::DoMediumOpened() {
    Logging(dlDebug, QStringLiteral("Medium Opened"));
}

void TnrCustomDataProcessor::SetDevice(TnrBaseIO* device) {
    if (device == FDevice && device)
        return;
    const auto notify = TnrNotifyEvent::Make(this, &TnrCustomDataProcessor::DoHandleNotify);
    if (FDevice)
        FDevice->NotifyDelete(notify);
    FDevice = device;
    if (device)
        device->NotifyAdd(notify);
}

void TnrCustomDataProcessor::SetDataProcessor(TnrCustomDataProcessor* next) {
    FNext = next;
    if (next)
        next->SetDevice(FDevice);
}

bool TnrCustomDataProcessor::IsDeviceEnable() const {
    return FDevice && FDevice->IsHandleValid();
}

void TnrCustomDataProcessor::DoDataSend(const char* bytes, quint32 count) {
    if (!bytes || count == 0)
        return;
    try {
        bool handled = false;
        if (OnDataSend)
            OnDataSend(this, bytes, count, false, handled);
        if (handled) {
            FTimer->SetEnabled(false);
            FTimer->SetEnabled(true);
        } else if (FDevice) {
            FDevice->SendData(bytes, count);
        }
    } catch (...) {
        // A processor's send failure is its own business; the application goes on.
    }
}

void TnrCustomDataProcessor::DoStringSend(const QByteArray& s) {
    if (s.isEmpty())
        return;
    try {
        bool handled = false;
        if (OnDataSend)
            OnDataSend(this, s.constData(), static_cast<quint32>(s.size()), true, handled);
        if (!handled && FDevice)
            FDevice->SendString(s);
    } catch (...) {
    }
}

void TnrCustomDataProcessor::DoAsyncTimeout() {
    FTimer->SetEnabled(false);
    bool done = false;
    DoAfterSendComplete(done);
}

void TnrCustomDataProcessor::ResetTimeout(int ms) {
    FTimer->SetEnabled(false);
    if (ms > 0) {
        FTimer->SetInterval(ms);
        FTimer->SetEnabled(true);
    }
}

void TnrCustomDataProcessor::DoFatalErrors(quint32 errorCode, quint32 detail, const QString& errorMsg) {
    bool raise = true;
    if (OnFatalError)
        OnFatalError(this, errorCode, detail, errorMsg, raise);
    if (FLog)
        FLog->AddLogFmt(dlSimple, QStringLiteral("Fatal Error: %u, %u, %s"), {errorCode, detail, errorMsg});
    if (raise)
        throw TnrException(errorMsg);
}

void TnrCustomDataProcessor::DoProcessing(const char*, quint32, TIgnoreTypes&) {}

void TnrCustomDataProcessor::DataReceive(const char* bytes, quint32 count) {
    TIgnoreTypes scratch;
    DoProcessing(bytes, count, scratch);
}

void TnrCustomDataProcessor::DoAfterSendComplete(bool&) {}

void TnrCustomDataProcessor::Logging(TDetailLevel level, const QString& message) {
    if (FLog)
        FLog->AddLog(level, message.isEmpty() ? message : FLogPrefix + message);
}

void TnrCustomDataProcessor::LoggingFmt(TDetailLevel level, const QString& format, const QVariantList& args) {
    if (FLog)
        FLog->AddLogFmt(level, FLogPrefix + format, args);
}
