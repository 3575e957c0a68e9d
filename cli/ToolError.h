#pragma once

#include <QString>

#include <stdexcept>

// How tkm9214 ends: its exit statuses.
enum class ExitStatus {
    Done = 0,
    NoAnswer = 1,  // the terminal did not answer, or refused
    Usage = 2,     // a wrong command line or input file
    PortError = 3, // the port is missing, busy or not ours to open
};

// A failure that ends the command with its exit status and a message for standard error. Thrown by
// the commands on the thread that runs them, caught once by the tool. A plain value; any thread.
class ToolError : public std::runtime_error {
public:
    ToolError(ExitStatus status, const QString& message)
        : std::runtime_error(message.toStdString()), status_(status), message_(message) {}

    ExitStatus status() const { return status_; }
    const QString& message() const { return message_; }

private:
    ExitStatus status_;
    QString message_;
};

inline ToolError UsageError(const QString& message) {
    return ToolError(ExitStatus::Usage, message);
}
inline ToolError NoAnswerError(const QString& message) {
    return ToolError(ExitStatus::NoAnswer, message);
}
inline ToolError PortError(const QString& message) {
    return ToolError(ExitStatus::PortError, message);
}
