#pragma once

#include "protocol/TrafficLog.h"

#include <QString>

#include <chrono>
#include <functional>
#include <string>

// --trace: the traffic log of the exchanges, each line as the window's log shows it (numbered from 1,
// the command with its checksum, " --> ", the raw reply; terminal bytes as Windows-1251 text with
// control bytes as \xNN), followed by the time since the tool started, "  (12 ms)". Unlike the window's
// log it also shows the exchanges that failed, with what came back or "(no reply)". Without a sink
// nothing is written, but the lines are still counted, so that numbering and clearing follow the
// window's log. Owner thread only.
class TraceLog : public tkm::protocol::TrafficLog {
public:
    using Sink = std::function<void(const QString& line)>;
    using Clock = std::function<std::chrono::milliseconds()>; // time since the start
    // clock: empty for the steady clock from now on.
    explicit TraceLog(Sink sink, Clock clock = {});

    void AppendLine(const std::string& line) override;
    void AppendNote(const std::string& text) override;
    int LineCount() const override { return lines_; }
    void Clear() override { lines_ = 0; }

    // An exchange the transaction did not log: sent (the frame as written) and what came back.
    void AppendFailure(const std::string& sent, const std::string& received);
    // Exchanges logged so far, never cleared: tells whether the last one was logged.
    long long exchanges() const { return exchanges_; }

private:
    QString stamp() const;

    Sink sink_;
    Clock clock_;
    int lines_ = 0;
    long long exchanges_ = 0;
};
