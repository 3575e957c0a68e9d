#pragma once

#include "protocol/TrafficLog.h"

#include <QString>

#include <functional>

// --trace: the traffic log of the exchanges, each line as the window's log shows it (numbered from 1,
// the command with its checksum, " --> ", the raw reply; terminal bytes as Windows-1251 text with
// control bytes visible), handed to a sink. Without a sink nothing is written, but the lines are
// still counted, so that numbering and clearing follow the window's log. Owner thread only.
class TraceLog : public tkm::protocol::TrafficLog {
public:
    using Sink = std::function<void(const QString& line)>;
    explicit TraceLog(Sink sink) : sink_(std::move(sink)) {}

    void AppendLine(const std::string& line) override;
    void AppendNote(const std::string& text) override;
    int LineCount() const override { return lines_; }
    void Clear() override { lines_ = 0; }

private:
    Sink sink_;
    int lines_ = 0;
};
