#include "cli/TraceLog.h"

#include "files/TerminalText.h"

void TraceLog::AppendLine(const std::string& line) {
    ++lines_;
    if (sink_)
        sink_(TerminalText::logLine(line));
}

void TraceLog::AppendNote(const std::string& text) {
    ++lines_;
    if (sink_)
        sink_(QString::fromStdString(text));
}
