#pragma once

#include <QString>
#include <stdexcept>

// A text that should hold a floating-point number does not. The message is the one operators know:
// "'<text>' is not a valid floating point value".
class EFloatConvertError : public std::runtime_error {
public:
    explicit EFloatConvertError(const QString& Text);

    const QString& Text() const { return m_text; }

private:
    QString m_text;
};
