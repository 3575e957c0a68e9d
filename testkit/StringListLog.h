#pragma once

#include "protocol/TrafficLog.h"

#include <string>
#include <vector>

namespace tkm::protocol {

// A traffic log kept in memory, one string per line, for tests and benchmarks that need no window.
// Not thread-safe: use it from one thread.
class StringListLog : public TrafficLog {
public:
    void AppendLine(const std::string& line) override { lines_.push_back(line); }
    void AppendNote(const std::string& text) override { lines_.push_back(text); }
    int LineCount() const override { return static_cast<int>(lines_.size()); }
    void Clear() override { lines_.clear(); }

    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

} // namespace tkm::protocol
