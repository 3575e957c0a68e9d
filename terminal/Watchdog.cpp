#include "terminal/Watchdog.h"

#include "protocol/Commands.h"
#include "protocol/EConvertError.h"

namespace tkm::terminal {

namespace proto = tkm::protocol;

Result<> ReadWatchdog(TerminalLine& line, int address, proto::WatchdogState& state, Replies replies) {
    state = {};
    const proto::Command read = proto::ReadWatchdogState(address);
    const Result<std::string> reply = Ask(line, read);
    if (!reply)
        return reply.fault();
    std::optional<proto::WatchdogState> decoded;
    try {
        decoded = proto::DecodeWatchdogState(*reply);
    } catch (const proto::EConvertError& e) {
        if (replies == Replies::AsReceived)
            throw;
        return InvalidReply(read, e.what());
    }
    if (!decoded)
        return InvalidReply(read, "not 5 characters");
    state = *decoded;
    return Done();
}

Result<> SetWatchdog(TerminalLine& line, int address, bool enabled, int periodTenths) {
    return Send(line, proto::WriteWatchdog(address, enabled, periodTenths));
}

void SendHostAlive(TerminalLine& line) {
    line.exchange(proto::HostAlive());
}

Result<proto::ModuleStatus> ReadStatus(TerminalLine& line, int address) {
    const proto::Command read = proto::ReadModuleStatus(address);
    const Result<std::string> reply = Ask(line, read);
    if (!reply)
        return reply.fault();
    const std::optional<proto::ModuleStatus> status = proto::DecodeModuleStatus(*reply);
    if (!status)
        return InvalidReply(read, "not 4 characters");
    return *status;
}

Result<> ResetStatus(TerminalLine& line, int address) {
    return Send(line, proto::ResetModuleStatus(address));
}

} // namespace tkm::terminal
