#pragma once
// A processor placed between a port and the application: it sees every block the receive dispatcher
// reads and may keep it from the terminal, the event list or OnAfterReceive; it can also take over
// sends. Abstract in spirit: the base does nothing with the data. Owner's thread only.
#include "NrTypes.h"

#include <QObject>
#include <QPointer>
#include <functional>

class TnrBaseIO;
class TnrCustomLogFile;
class TnrTimer;

class TnrCustomDataProcessor : public QObject {
    Q_OBJECT
public:
    using TDataSendEvent = std::function<void(QObject* sender, const char* buffer, quint32 length,
                                              bool flSynchro, bool& flHandled)>;
    using TOnFatalErrorEvent = std::function<void(QObject* sender, quint32 errorCode, quint32 detail,
                                                  const QString& errorMsg, bool& raiseException)>;

    explicit TnrCustomDataProcessor(QObject* parent = nullptr);
    ~TnrCustomDataProcessor() override;

    virtual void DoHandleNotify(TnrBaseIO* sender, int code);
    virtual void DoMediumClosed();
    virtual void DoMediumOpened();
    virtual void SetDataProcessor(TnrCustomDataProcessor* next);
    virtual void SetDevice(TnrBaseIO* device);
    virtual void SetActive(bool value) { FActive = value; }
    virtual void DoDataSend(const char* bytes, quint32 count);
    virtual void DoStringSend(const QByteArray& s);
    virtual void DoAsyncTimeout();
    virtual void ResetTimeout(int ms);
    virtual void DoFatalErrors(quint32 errorCode, quint32 detail, const QString& errorMsg);
    virtual void DoProcessing(const char* bytes, quint32 count, TIgnoreTypes& ignore);
    virtual void DataReceive(const char* bytes, quint32 count);
    virtual void DoAfterSendComplete(bool& done);

    TnrBaseIO* Device() const { return FDevice; }
    TnrCustomDataProcessor* DataProcessor() const { return FNext; }
    bool Active() const { return FActive; }
    bool IsDeviceEnable() const;
    TnrTimer* Timer() const { return FTimer; }
    void SetLog(TnrCustomLogFile* log) { FLog = log; }

    void Logging(TDetailLevel level, const QString& message);
    void LoggingFmt(TDetailLevel level, const QString& format, const QVariantList& args);

    TDataSendEvent OnDataSend;
    TOnFatalErrorEvent OnFatalError;

protected:
    QString FLogPrefix = QStringLiteral("nrDataProcessor: ");

private:
    QPointer<TnrBaseIO> FDevice;
    QPointer<TnrCustomDataProcessor> FNext;
    QPointer<TnrCustomLogFile> FLog;
    TnrTimer* FTimer;
    bool FActive = false;
};
