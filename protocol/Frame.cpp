#include "protocol/Frame.h"

#include "protocol/Conversions.h"

#include <cstdint>
#include <stdexcept>

namespace tkm::protocol {

std::string AddressText(int address) {
    if (address < 0 || address > 255)
        throw std::out_of_range("terminal address " + std::to_string(address) + " is outside 0..255");
    return HexText(static_cast<std::uint32_t>(address), 2);
}

std::string FrameChecksum(std::string_view text, bool checksumMode) {
    if (!checksumMode)
        return {};
    std::uint8_t sum = 0;
    for (char c : text)
        sum = static_cast<std::uint8_t>(sum + static_cast<unsigned char>(c));
    return HexText(sum, 2);
}

std::string CommandWithChecksum(std::string_view command, bool checksumMode) {
    return std::string(command) + FrameChecksum(command, checksumMode);
}

std::string BuildFrame(std::string_view command, bool checksumMode) {
    return CommandWithChecksum(command, checksumMode) + kTerminator;
}

bool HasExpectedPrefix(std::string_view reply, std::string_view prefix) {
    return reply.starts_with(prefix);
}

bool IsWholeReply(std::string_view received, bool checksumMode) {
    if (received.empty() || received.back() != kTerminator)
        return false;
    if (!checksumMode)
        return true;
    const std::size_t n = received.size();
    return n >= 3 && received.substr(n - 3, 2) == FrameChecksum(received.substr(0, n - 3), true);
}

std::string_view WithoutEcho(std::string_view received, std::string_view frame) {
    if (frame.empty() || !received.starts_with(frame))
        return received;
    return received.substr(frame.size());
}

std::optional<std::string> UnpackReply(std::string_view reply, std::string_view prefix, bool checksumMode) {
    if (!HasExpectedPrefix(reply, prefix))
        return std::nullopt;
    const std::size_t p = prefix.size();
    const std::size_t n = reply.size();
    if (!checksumMode)
        return std::string(n > p ? reply.substr(p, n - p - 1) : std::string_view{});

    // A checksum overlapping the prefix would let garbage pass, so such short replies fail outright.
    if (n < p + 3)
        return std::nullopt;
    if (reply.substr(n - 3, 2) != FrameChecksum(reply.substr(0, n - 3), true))
        return std::nullopt;
    return std::string(reply.substr(p, n - p - 3));
}

} // namespace tkm::protocol
