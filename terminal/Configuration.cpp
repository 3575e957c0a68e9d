#include "terminal/Configuration.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"
#include "protocol/EConvertError.h"

namespace tkm::terminal {

namespace proto = tkm::protocol;

namespace {

// What makes the codes no configuration of the lists, as an invalid reply to `read`; nothing when they are
// one.
std::optional<Fault> Unlisted(const Configuration& c, const proto::Command& read) {
    int baudIndex = 0;
    try {
        c.addressValue();
        baudIndex = c.baudIndex();
    } catch (const proto::EConvertError& e) {
        return InvalidReply(read, e.what());
    }
    if (baudIndex < 0 || baudIndex > 9)
        return InvalidReply(read, "no baud rate has the code %1", c.baudCode);
    if (c.codePageName().empty())
        return InvalidReply(read, "no code page has the code %1", c.codePageCode);
    if (!c.checksum())
        return InvalidReply(read, "the format code %1 is neither 40 nor 00", c.formatCode);
    return std::nullopt;
}

} // namespace

Configuration Configuration::of(const proto::ConfigurationFields& fields) {
    return {fields.address, fields.baudCode, fields.codePageCode, fields.formatCode};
}

int Configuration::addressValue() const {
    return proto::ParseHex(address);
}

int Configuration::baudIndex() const {
    return proto::ParseHex(baudCode) - 1;
}

int Configuration::codePageIndex() const {
    return proto::ParseHex(codePageCode);
}

std::string_view Configuration::codePageName() const {
    return proto::CodePageName(codePageCode);
}

std::optional<bool> Configuration::checksum() const {
    if (formatCode == proto::kFormatChecksumOn)
        return true;
    if (formatCode == proto::kFormatChecksumOff)
        return false;
    return std::nullopt;
}

Result<Configuration> ReadConfiguration(TerminalLine& line, int address, Replies replies) {
    const proto::Command read = proto::ReadConfiguration(address);
    const Result<std::string> reply = Ask(line, read);
    if (!reply)
        return reply.fault();
    const std::optional<proto::ConfigurationFields> fields = proto::DecodeConfiguration(*reply);
    if (!fields)
        return InvalidReply(read, "not 10 characters");
    const Configuration configuration = Configuration::of(*fields);
    if (replies == Replies::Checked) {
        if (std::optional<Fault> unlisted = Unlisted(configuration, read))
            return std::move(*unlisted);
    }
    return configuration;
}

} // namespace tkm::terminal
