#include "MemoTrafficLog.h"

#include <QPlainTextEdit>

void MemoTrafficLog::AppendLine(const std::string& line) {
    // Bytes on the line are 8-bit and not UTF-8; Latin-1 keeps every byte visible as one character.
    // The reply's carriage return is shown as nothing rather than as a line break.
    QString text = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    memo_->appendPlainText(text);
}

int MemoTrafficLog::LineCount() const {
    return memo_->document()->isEmpty() ? 0 : memo_->document()->blockCount();
}

void MemoTrafficLog::Clear() {
    memo_->clear();
}
