#pragma once

#include <string>

namespace tkm::protocol {

// The traffic log the command transaction writes to (the main window's memo). Lines are raw bytes.
// Called on the thread that runs Transact.
class TrafficLog {
public:
    virtual ~TrafficLog() = default;

    virtual void AppendLine(const std::string& line) = 0;
    virtual int LineCount() const = 0;
    virtual void Clear() = 0;
};

} // namespace tkm::protocol
