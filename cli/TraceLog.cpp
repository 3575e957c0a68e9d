#include "cli/TraceLog.h"

#include "files/TerminalText.h"

TraceLog::TraceLog(Sink sink, Clock clock) : sink_(std::move(sink)), clock_(std::move(clock)) {
    if (!clock_) {
        const auto start = std::chrono::steady_clock::now();
        clock_ = [start] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                         start);
        };
    }
}

QString TraceLog::stamp() const {
    return QStringLiteral("  (%1 ms)").arg(clock_().count());
}

void TraceLog::AppendLine(const std::string& line) {
    ++lines_;
    ++exchanges_;
    if (!sink_)
        return;
    QString shown = TerminalText::logLine(line);
    if (shown.endsWith(QStringLiteral(" --> ")))
        shown += QStringLiteral("(no reply)");
    sink_(shown + stamp());
}

void TraceLog::AppendNote(const std::string& text) {
    ++lines_;
    if (sink_)
        sink_(QString::fromStdString(text));
}

void TraceLog::AppendFailure(const std::string& sent, const std::string& received) {
    std::string frame = sent;
    if (!frame.empty() && frame.back() == '\r')
        frame.pop_back();
    ++lines_;
    ++exchanges_;
    if (!sink_)
        return;
    std::string reply = received;
    if (!reply.empty() && reply.back() == '\r')
        reply.pop_back();
    sink_(QString::number(lines_) + u'\t' + TerminalText::visible(frame) + QStringLiteral(" --> ") +
          (received.empty() ? QStringLiteral("(no reply)")
                            : TerminalText::visible(reply.empty() ? received : reply)) +
          stamp());
}
