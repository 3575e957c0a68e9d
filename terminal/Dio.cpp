#include "terminal/Dio.h"

#include "protocol/Replies.h"

#include <cctype>

namespace tkm::terminal {

namespace proto = tkm::protocol;

Result<std::string> ReadLineByte(TerminalLine& line, const proto::Command& read) {
    const Result<std::string> reply = Ask(line, read);
    if (!reply)
        return reply;
    // Upper case, so that it compares equal, as text, with the LED bank that shows it: a terminal
    // answering "a5" would otherwise make every other DIO poll a write.
    std::optional<std::string> byte = proto::DecodeLineByte(*reply);
    if (!byte)
        return InvalidReply(read, "not two hex digits");
    for (char& c : *byte)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return std::move(*byte);
}

Result<std::string> ReadLines(TerminalLine& line, int address) {
    return ReadLineByte(line, proto::ReadLineState(address));
}

Result<> WriteLines(TerminalLine& line, int address, int lineByte) {
    return Send(line, proto::WriteLineState(address, lineByte));
}

Result<> SaveDirections(TerminalLine& line, int address, int directionByte) {
    return Send(line, proto::WriteDirection(address, directionByte));
}

Result<> SavePowerOnState(TerminalLine& line, int address) {
    return Send(line, proto::SavePowerOnState(address));
}

Result<> SaveSafeState(TerminalLine& line, int address) {
    return Send(line, proto::SaveSafeState(address));
}

} // namespace tkm::terminal
