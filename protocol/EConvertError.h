#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tkm::protocol {

// The conversion error of number parsing. Its message is the one operators know from the
// original program: "'<text>' is not a valid integer value".
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(std::string_view offendingText);

    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace tkm::protocol
