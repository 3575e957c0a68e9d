#pragma once
// Base of the I/O components: Active flag and port handle, the Open/Close skeleton, the notification
// list, fatal-error reporting, logging, the device list, the data-processor and terminal hooks.
//
// Events are std::function members named after the event (OnClose, OnFatalError, ...): like an event
// property, each holds at most one handler, may be empty (the dispatcher's decisions depend on whether
// a handler is assigned) and can pass results back through reference parameters (var arguments).
//
// Threads: everything here runs on the thread that owns the component (the user-interface thread).
#include "NrTypes.h"
#include "TnrCustomDataProcessor.h"
#include "TnrCustomLogFile.h"
#include "TnrDevice.h"
#include "TnrNotifyList.h"
#include "TnrTerminalLink.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

// A device-change notice as a window receives it (message 0x0219, event, device type 3 for ports).
struct TnrDeviceChange {
    quint32 Message = 0x0219;
    quint32 Event = 0;
    quint32 DeviceType = 3;
    static constexpr quint32 DeviceArrival = 0x8000;
    static constexpr quint32 DeviceRemoveComplete = 0x8004;
};

class TnrBaseIO : public QObject {
    Q_OBJECT
public:
    using TOnFatalErrorEvent = std::function<void(QObject* sender, quint32 errorCode, quint32 detail,
                                                  const QString& errorMsg, bool& raiseException)>;
    using TNotifyEvent = std::function<void(QObject* sender)>;
    // Shows an error to the user (caption, text). The application plugs in its error box.
    using ErrorPresenter = std::function<void(const QString& caption, const QString& text)>;

    static constexpr int InvalidHandle = -1;

    explicit TnrBaseIO(QObject* parent = nullptr);
    ~TnrBaseIO() override;

    // ---- Active and loading ----
    bool GetActive();
    void SetActive(bool value);
    // Between BeginLoad and Loaded the component is being built: Active only remembers the value,
    // fatal errors neither raise nor show. Loaded applies terminal, terminal usage and Active.
    void BeginLoad() { FLoading = true; }
    virtual void Loaded();
    bool IsLoading() const { return FLoading; }

    int GetHandle() const { return FHandle; }
    virtual bool IsHandleValid() const { return FHandle != InvalidHandle; }
    virtual void DoFatalErrors(quint32 errorCode, quint32 detail, const QString& errorMsg, bool shownOnly);
    virtual void DoNotify(int code);
    virtual void SetDeviceIndex(int index);
    virtual int GetDeviceIndex() = 0;
    virtual void AddDevice(std::unique_ptr<TnrDevice> device);
    virtual void DeviceListLoad() = 0;
    virtual void Open();
    virtual void Close();
    virtual void DeviceListClear();
    virtual int RequestDeviceHandle() { return InvalidHandle; }
    virtual void UpdateTerminalByChars(const char* bytes, int count);
    virtual void Update();
    virtual int NotifyAdd(const TnrNotifyEvent& method);
    virtual void NotifyDelete(const TnrNotifyEvent& method);
    virtual void SendChar(char c) = 0;
    virtual void SendString(const QByteArray& s) = 0;
    virtual void SendData(const char* bytes, quint32 length) = 0;
    virtual void ClearDeviceInput() = 0;
    virtual void ClearDeviceOutput() = 0;
    virtual void ClearDeviceBuffers() = 0;
    virtual void GetDeviceList(QStringList* target);
    virtual void WMDeviceChange(const TnrDeviceChange& message);

    // ---- device list ----
    TnrDevice* GetDevice(int index) const;
    int GetDeviceCount() const { return static_cast<int>(FDevices.size()); }
    int IndexOfDeviceData(quint32 data) const;

    // ---- log ----
    TnrCustomLogFile* Log() const;
    void SetLog(TnrCustomLogFile* log);
    QString LogPrefix() const { return FLogPrefix; }
    void Logging(TDetailLevel level, const QString& message);
    void LoggingFmt(TDetailLevel level, const QString& format, const QVariantList& args);

    // ---- data processor ----
    TnrCustomDataProcessor* DataProcessor() const;
    void SetDataProcessor(TnrCustomDataProcessor* processor);

    // ---- terminal ----
    TnrTerminalLink* Terminal() const;
    void SetTerminal(TnrTerminalLink* terminal);
    TTerminalUsage TerminalUsage() const { return FTerminalUsage; }
    void SetTerminalUsage(TTerminalUsage usage);
    bool TerminalEcho() const { return FTerminalEcho; }
    void SetTerminalEcho(bool echo) { FTerminalEcho = echo; }

    // ---- events ----
    TOnFatalErrorEvent OnFatalError;
    TNotifyEvent OnClose;

    // Process-wide; by default errors go to qWarning.
    static void SetErrorPresenter(ErrorPresenter presenter);
    static void PresentError(const QString& caption, const QString& text);

protected:
    void SetLogPrefix(const QString& prefix) { FLogPrefix = prefix; }
    // The base close: OnClose while the handle is still set, then mark it invalid.
    void BaseClose();
    bool TerminalKey(char c);
    // Lets a derived layer finish work that was handed to the owner's thread (a line failure seen by
    // a worker thread) before Active is reported.
    virtual void CheckDeferredClose() {}

    int FHandle = InvalidHandle;
    bool FLoading = false;
    bool FLoadingActive = false;

private:
    TnrNotifyList FNotifyList;
    std::vector<std::unique_ptr<TnrDevice>> FDevices;
    QPointer<TnrCustomLogFile> FLog;
    QPointer<TnrCustomDataProcessor> FDataProcessor;
    QPointer<TnrTerminalLink> FTerminal;
    TTerminalUsage FTerminalUsage = tuNone;
    bool FTerminalEcho = false;
    bool FTerminalOutput = false;
    bool FInsideTerminalUpdate = false;
    QString FLogPrefix;
};
