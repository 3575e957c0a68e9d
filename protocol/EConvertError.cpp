#include "protocol/EConvertError.h"

namespace tkm::protocol {

EConvertError::EConvertError(std::string_view offendingText)
    : std::runtime_error("'" + std::string(offendingText) + "' is not a valid integer value"),
      text_(offendingText) {}

} // namespace tkm::protocol
