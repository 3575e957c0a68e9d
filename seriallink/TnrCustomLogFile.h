#pragma once
// The log sink an I/O component writes to. Abstract: the system links none, so concrete logs are
// whatever the owner provides. Used on the owner's thread only.
#include "NrTypes.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <functional>

class TnrCustomLogFile : public QObject {
    Q_OBJECT
public:
    using TOnFatalErrorEvent = std::function<void(QObject* sender, quint32 errorCode, quint32 detail,
                                                  const QString& errorMsg, bool& raiseException)>;

    explicit TnrCustomLogFile(QObject* parent = nullptr);

    // Offers the error to OnFatalError; raises TnrException unless the handler vetoes.
    virtual void DoFatalErrors(quint32 errorCode, quint32 detail, const QString& errorMsg);
    virtual void Save() = 0;
    virtual void Clear() = 0;
    virtual void Add(const QString& line) = 0;
    virtual void AddSysInfo() = 0;
    virtual void AddLog(TDetailLevel level, const QString& line) = 0;
    virtual void AddFmt(const QString& format, const QVariantList& args);
    virtual void AddLogFmt(TDetailLevel level, const QString& format, const QVariantList& args);

    TOnFatalErrorEvent OnFatalError;
};
