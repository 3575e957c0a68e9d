#pragma once
// The exception the serial link raises for a fatal error nobody vetoed; it carries the message text.
#include <QString>
#include <stdexcept>

class TnrException : public std::runtime_error {
public:
    explicit TnrException(const QString& message);
    QString Message() const { return FMessage; }

private:
    QString FMessage;
};
