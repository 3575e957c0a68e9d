#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

// How tkm9214 ends: its exit statuses. A signal that ends a command gives 128 + its number, as the
// shell reports a program the signal killed.
enum class ExitStatus {
    Done = 0,
    NoAnswer = 1,  // the terminal did not answer, or refused
    Usage = 2,     // a wrong command line, or a file that cannot be read or written
    PortError = 3, // the port is missing, busy or not ours to open
};

// What went wrong, as a script reads it from the JSON error object.
enum class ErrorKind {
    NoAnswer, // nothing came back
    Refused,  // the terminal answered, but not as the command expects
    Usage,    // the command line
    Port,     // the port
    File,     // a file to read or write, standard output included
};

// "no-answer", "refused", "usage", "port", "file"
inline const char* ErrorKindName(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::NoAnswer:
        return "no-answer";
    case ErrorKind::Refused:
        return "refused";
    case ErrorKind::Usage:
        return "usage";
    case ErrorKind::Port:
        return "port";
    case ErrorKind::File:
        return "file";
    }
    return "usage";
}

inline ExitStatus ExitStatusOf(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::NoAnswer:
    case ErrorKind::Refused:
        return ExitStatus::NoAnswer;
    case ErrorKind::Usage:
    case ErrorKind::File:
        return ExitStatus::Usage;
    case ErrorKind::Port:
        return ExitStatus::PortError;
    }
    return ExitStatus::Usage;
}

// A failure that ends the command with its kind, exit status and a message for standard error. Thrown
// by the commands on the thread that runs them, caught once by the tool. A plain value; any thread.
class ToolError : public std::runtime_error {
public:
    // status: the kind's own unless given (a closed pipe ends as SIGPIPE would have).
    ToolError(ErrorKind kind, const QString& message, std::optional<ExitStatus> status = std::nullopt)
        : std::runtime_error(message.toStdString()), kind_(kind),
          status_(status.value_or(ExitStatusOf(kind))), message_(message) {}

    ErrorKind kind() const { return kind_; }
    ExitStatus status() const { return status_; }
    const QString& message() const { return message_; }

private:
    ErrorKind kind_;
    ExitStatus status_;
    QString message_;
};

inline ToolError UsageError(const QString& message) {
    return ToolError(ErrorKind::Usage, message);
}
inline ToolError NoAnswerError(const QString& message) {
    return ToolError(ErrorKind::NoAnswer, message);
}
inline ToolError RefusedError(const QString& message) {
    return ToolError(ErrorKind::Refused, message);
}
inline ToolError PortError(const QString& message) {
    return ToolError(ErrorKind::Port, message);
}
inline ToolError FileError(const QString& message) {
    return ToolError(ErrorKind::File, message);
}
