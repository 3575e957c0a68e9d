#include "app/MemoTrafficLog.h"

#include "app/TrafficMemo.h"
#include "files/TerminalText.h"

#include <QMetaObject>

void MemoTrafficLog::AppendLine(const std::string& line) {
    AppendNote(TerminalText::logLine(line));
}

void MemoTrafficLog::AppendNote(const std::string& text) {
    AppendNote(QString::fromStdString(text));
}

void MemoTrafficLog::AppendNote(const QString& text) {
    if (!memo_)
        return;
    if (waiting_.isEmpty())
        QMetaObject::invokeMethod(this, &MemoTrafficLog::Flush, Qt::QueuedConnection);
    waiting_.append(text);
}

void MemoTrafficLog::Flush() {
    if (waiting_.isEmpty() || !memo_)
        return;
    memo_->appendLines(waiting_);
    waiting_.clear();
}

int MemoTrafficLog::LineCount() const {
    const int shown = memo_ ? memo_->lineCount() : 0;
    return shown + static_cast<int>(waiting_.size());
}

void MemoTrafficLog::Clear() {
    waiting_.clear();
    if (memo_)
        memo_->clear();
}
