#include "terminal/TerminalLine.h"

namespace tkm::terminal {

std::string Fault::reason(const std::function<std::string(std::string_view bytes)>& showBytes) const {
    // Only a reason that names a field has a place for it; any other is returned as it stands.
    const std::size_t place = field.empty() ? std::string::npos : why.find("%1");
    if (place == std::string::npos)
        return why;
    return why.substr(0, place) + showBytes(field) + why.substr(place + 2);
}

Result<std::string> Ask(TerminalLine& line, const protocol::Command& command) {
    std::optional<std::string> payload = line.exchange(command);
    if (!payload)
        return Fault{Fault::Kind::NoAnswer, command, {}, {}};
    return std::move(*payload);
}

Result<> Send(TerminalLine& line, const protocol::Command& command) {
    const Result<std::string> reply = Ask(line, command);
    if (!reply)
        return reply.fault();
    return Done();
}

Fault InvalidReply(const protocol::Command& command, std::string why, std::string field) {
    return Fault{Fault::Kind::InvalidReply, command, std::move(why), std::move(field)};
}

} // namespace tkm::terminal
