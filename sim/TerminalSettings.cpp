#include "sim/TerminalSettings.h"

#include <string_view>

namespace tkm::sim {

namespace {
// Texts go into replies verbatim, so a control byte (a carriage return above all) would cut the frame.
bool isReplyText(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}
} // namespace

std::string TerminalSettings::validate() const {
    if (address < 1 || address > 255)
        return "address must be 1..255";
    if (baudCode < 1 || baudCode > 10)
        return "baud code must be 1..10";
    if (codePage < 0 || codePage > 2)
        return "code page must be 0..2";
    if (typeCode.size() != 2 || !isReplyText(typeCode))
        return "type code must be two printable characters";
    if (!isReplyText(deviceName))
        return "device name must not hold control characters";
    if (!isReplyText(firmware))
        return "firmware text must not hold control characters";
    return {};
}

} // namespace tkm::sim
