#pragma once

#include "protocol/TrafficLog.h"

#include <string>
#include <vector>

namespace tkm::protocol {

// A traffic log kept in memory, one string per line. Not thread-safe: use it from one thread.
class StringListLog : public TrafficLog {
public:
    void AppendLine(const std::string& line) override;
    int LineCount() const override;
    void Clear() override;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

} // namespace tkm::protocol
