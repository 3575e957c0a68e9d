#include "TnrBaseIO.h"

#include "TnrCustomDataProcessor.h"
#include "TnrCustomLogFile.h"
#include "TnrException.h"
#include "TnrTerminalLink.h"

#include <QDebug>

namespace {
TnrBaseIO::ErrorPresenter& Presenter() {
    static TnrBaseIO::ErrorPresenter presenter;
    return presenter;
}
} // namespace

TnrBaseIO::TnrBaseIO(QObject* parent) : QObject(parent) {}

TnrCustomLogFile* TnrBaseIO::Log() const {
    return FLog;
}

void TnrBaseIO::SetLog(TnrCustomLogFile* log) {
    FLog = log;
}

TnrCustomDataProcessor* TnrBaseIO::DataProcessor() const {
    return FDataProcessor;
}

TnrTerminalLink* TnrBaseIO::Terminal() const {
    return FTerminal;
}

TnrBaseIO::~TnrBaseIO() {
    if (FTerminal)
        FTerminal->SetKeyHandler(nullptr);
    DeviceListClear();
}

void TnrBaseIO::SetErrorPresenter(ErrorPresenter presenter) {
    Presenter() = std::move(presenter);
}

void TnrBaseIO::PresentError(const QString& caption, const QString& text) {
    if (Presenter())
        Presenter()(caption, text);
    else
        qWarning().noquote() << caption + QStringLiteral(": ") + text;
}

bool TnrBaseIO::GetActive() {
    if (FLoading)
        return FLoadingActive;
    CheckDeferredClose();
    return IsHandleValid();
}

void TnrBaseIO::SetActive(bool value) {
    if (FLoading) {
        FLoadingActive = value;
        return;
    }
    if (value == GetActive())
        return;
    if (value)
        Open();
    else
        Close();
}

void TnrBaseIO::Loaded() {
    FLoading = false;
    try {
        SetTerminal(FTerminal);
        SetTerminalUsage(FTerminalUsage);
        SetActive(FLoadingActive);
    } catch (...) {
        PresentError(QStringLiteral("Error"), QStringLiteral("error"));
    }
}

void TnrBaseIO::DoFatalErrors(quint32 errorCode, quint32 detail, const QString& errorMsg, bool shownOnly) {
    bool raise = true;
    if (OnFatalError)
        OnFatalError(this, errorCode, detail, errorMsg, raise);
    if (FLog)
        FLog->AddLogFmt(dlSimple, QStringLiteral("Fatal Error: %u, %u, %s"), {errorCode, detail, errorMsg});
    if (!raise || FLoading)
        return;
    if (!shownOnly)
        throw TnrException(errorMsg);
    PresentError(QStringLiteral("TnrException"), errorMsg);
}

void TnrBaseIO::DoNotify(int code) {
    FNotifyList.Call(this, code);
}

int TnrBaseIO::NotifyAdd(const TnrNotifyEvent& method) {
    const int i = FNotifyList.IndexOf(method);
    return i >= 0 ? i : FNotifyList.Add(method);
}

void TnrBaseIO::NotifyDelete(const TnrNotifyEvent& method) {
    FNotifyList.Delete(FNotifyList.IndexOf(method));
}

void TnrBaseIO::SetDeviceIndex(int) {
    DoNotify(3);
}

void TnrBaseIO::AddDevice(std::unique_ptr<TnrDevice> device) {
    device->Index = GetDeviceCount();
    device->Owner = this;
    FDevices.push_back(std::move(device));
}

TnrDevice* TnrBaseIO::GetDevice(int index) const {
    return index >= 0 && index < GetDeviceCount() ? FDevices[static_cast<size_t>(index)].get() : nullptr;
}

int TnrBaseIO::IndexOfDeviceData(quint32 data) const {
    for (int i = 0; i < GetDeviceCount(); ++i)
        if (FDevices[static_cast<size_t>(i)]->Data == data)
            return i;
    return -1;
}

void TnrBaseIO::DeviceListClear() {
    FDevices.clear();
}

void TnrBaseIO::GetDeviceList(QStringList* target) {
    if (FDevices.empty())
        DeviceListLoad();
    if (!target)
        return;
    target->clear();
    for (const auto& d : FDevices)
        target->append(d->Name);
}

void TnrBaseIO::Update() {
    DeviceListClear();
    GetDeviceList(nullptr);
    DoNotify(3);
}

void TnrBaseIO::WMDeviceChange(const TnrDeviceChange& message) {
    if (message.Message != 0x0219 || message.DeviceType != 3)
        return;
    if (message.Event == TnrDeviceChange::DeviceArrival ||
        message.Event == TnrDeviceChange::DeviceRemoveComplete)
        Update();
}

void TnrBaseIO::Open() {
    FHandle = RequestDeviceHandle();
    if (IsHandleValid())
        DoNotify(2);
}

void TnrBaseIO::Close() {
    BaseClose();
}

void TnrBaseIO::BaseClose() {
    if (IsHandleValid() && OnClose) {
        try {
            OnClose(this);
        } catch (...) {
            // A failing close handler must not keep the port open.
        }
    }
    FHandle = InvalidHandle;
}

void TnrBaseIO::Logging(TDetailLevel level, const QString& message) {
    if (!FLog)
        return;
    if (message.isEmpty())
        FLog->AddSysInfo();
    else
        FLog->AddLog(level, FLogPrefix + message);
}

void TnrBaseIO::LoggingFmt(TDetailLevel level, const QString& format, const QVariantList& args) {
    if (FLog)
        FLog->AddLogFmt(level, FLogPrefix + format, args);
}

void TnrBaseIO::SetDataProcessor(TnrCustomDataProcessor* processor) {
    if (!processor && FDataProcessor)
        FDataProcessor->SetDevice(nullptr);
    FDataProcessor = processor;
    if (processor)
        processor->SetDevice(this);
}

void TnrBaseIO::SetTerminal(TnrTerminalLink* terminal) {
    if (FTerminal && FTerminal != terminal)
        FTerminal->SetKeyHandler(nullptr);
    if (terminal)
        terminal->SetKeyHandler([this](char c) { return TerminalKey(c); });
    FTerminalOutput = false;
    FTerminal = terminal;
    SetTerminalUsage(FTerminalUsage);
}

void TnrBaseIO::SetTerminalUsage(TTerminalUsage usage) {
    FTerminalUsage = usage;
    if (FTerminal)
        FTerminalOutput = usage == tuReceive || usage == tuBoth;
}

bool TnrBaseIO::TerminalKey(char c) {
    if (FInsideTerminalUpdate || !(FTerminalUsage == tuSend || FTerminalUsage == tuBoth))
        return false;
    SendChar(c);
    return !FTerminalEcho;
}

void TnrBaseIO::UpdateTerminalByChars(const char* bytes, int count) {
    if (!FTerminalOutput || !FTerminal || count <= 0)
        return;
    FInsideTerminalUpdate = true;
    if (count == 1) {
        FTerminal->TypeChar(bytes[0]);
    } else {
        const QByteArray block(bytes, count);
        for (const QByteArray& piece : block.split('\0'))
            if (!piece.isEmpty())
                FTerminal->InsertText(piece);
    }
    FInsideTerminalUpdate = false;
}
