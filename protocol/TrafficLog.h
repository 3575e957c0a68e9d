#pragma once

#include <string>

namespace tkm::protocol {

// The traffic log the command transaction writes to (the main window's memo). Lines are raw bytes.
// Called on the thread that runs Transact.
class TrafficLog {
public:
    virtual ~TrafficLog() = default;

    virtual void AppendLine(const std::string& line) = 0;
    // A line about the line itself rather than one exchange (it echoes what is sent), in the order of
    // the exchanges; it counts as a line like any other.
    virtual void AppendNote(const std::string& text) = 0;
    virtual int LineCount() const = 0;
    virtual void Clear() = 0;
};

} // namespace tkm::protocol
