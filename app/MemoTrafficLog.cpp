#include "MemoTrafficLog.h"

#include "app/TerminalText.h"

#include <QPlainTextEdit>

void MemoTrafficLog::AppendLine(const std::string& line) {
    memo_->appendPlainText(TerminalText::logLine(line));
}

int MemoTrafficLog::LineCount() const {
    return memo_->document()->isEmpty() ? 0 : memo_->document()->blockCount();
}

void MemoTrafficLog::Clear() {
    memo_->clear();
}
