#pragma once

#include "protocol/TrafficLog.h"

class QPlainTextEdit;

// The traffic log of the command transaction kept in the main window's memo (RCVS).
// User-interface thread only.
class MemoTrafficLog : public tkm::protocol::TrafficLog {
public:
    explicit MemoTrafficLog(QPlainTextEdit* memo) : memo_(memo) {}

    void AppendLine(const std::string& line) override;
    int LineCount() const override;
    void Clear() override;

private:
    QPlainTextEdit* memo_;
};
