#include "TnrCustomLogFile.h"

#include "NrFormat.h"
#include "TnrException.h"

TnrCustomLogFile::TnrCustomLogFile(QObject* parent) : QObject(parent) {}

void TnrCustomLogFile::DoFatalErrors(quint32 errorCode, quint32 detail, const QString& errorMsg) {
    bool raise = true;
    if (OnFatalError)
        OnFatalError(this, errorCode, detail, errorMsg, raise);
    if (raise)
        throw TnrException(errorMsg);
}

void TnrCustomLogFile::AddFmt(const QString& format, const QVariantList& args) {
    Add(NrFormat(format, args));
}

void TnrCustomLogFile::AddLogFmt(TDetailLevel level, const QString& format, const QVariantList& args) {
    AddLog(level, NrFormat(format, args));
}
