// Every reply decoder, and the reply check in front of them, on arbitrary bytes. A decoder either
// refuses the payload (std::nullopt, or the conversion error where a number field is not hexadecimal)
// or yields fields of the documented sizes that say what the payload says. Nothing else may escape.
#include "FuzzCheck.h"
#include "ReferenceFrame.h"

#include "protocol/EConvertError.h"
#include "protocol/Frame.h"
#include "protocol/Replies.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace tkm::protocol;
using tkm::fuzz::AllHex;
using tkm::fuzz::HexDigitValue;

int TwoDigits(std::string_view text) {
    return HexDigitValue(text[0]) * 16 + HexDigitValue(text[1]);
}

void CheckTextReplies(std::string_view payload) {
    // Name and firmware are kept whole, whatever bytes they hold (NULs included).
    FUZZ_CHECK(DecodeDeviceName(payload) == payload);
    FUZZ_CHECK(DecodeFirmware(payload) == payload);
}

void CheckLineByte(std::string_view payload) {
    const std::optional<std::string> line = DecodeLineByte(payload);
    const bool valid = payload.size() == 2 && AllHex(payload);
    FUZZ_CHECK(line.has_value() == valid);
    if (line)
        FUZZ_CHECK(*line == payload);
}

void CheckConfiguration(std::string_view payload) {
    const std::optional<ConfigurationFields> config = DecodeConfiguration(payload);
    FUZZ_CHECK(config.has_value() == (payload.size() == 10));
    if (!config)
        return;
    for (const std::string* field :
         {&config->address, &config->typeCode, &config->baudCode, &config->codePageCode, &config->formatCode})
        FUZZ_CHECK(field->size() == 2);
    FUZZ_CHECK(config->address + config->typeCode + config->baudCode + config->codePageCode +
                   config->formatCode ==
               payload);
}

void CheckWatchdogState(std::string_view payload) {
    std::optional<WatchdogState> state;
    bool convertError = false;
    try {
        state = DecodeWatchdogState(payload);
    } catch (const EConvertError& error) {
        convertError = true;
        // Only the period is parsed, and the message quotes it as the number parser saw it.
        FUZZ_CHECK(payload.size() == 5);
        FUZZ_CHECK(error.text() == "$" + std::string(payload.substr(3, 2)));
        // what() is a C string: a NUL in the reply ends the message there.
        const std::string message = "'" + error.text() + "' is not a valid integer value";
        FUZZ_CHECK(std::string(error.what()) == message.substr(0, message.find('\0')));
    }
    if (payload.size() != 5) {
        FUZZ_CHECK(!state && !convertError);
        return;
    }
    const bool hexPeriod = AllHex(payload.substr(3, 2));
    FUZZ_CHECK(convertError == !hexPeriod);
    if (!hexPeriod)
        return;
    FUZZ_CHECK(state.has_value());
    FUZZ_CHECK(state->enabled == (payload[2] == '1'));
    FUZZ_CHECK(state->periodTenths == TwoDigits(payload.substr(3, 2)));
    FUZZ_CHECK(state->periodTenths >= 0 && state->periodTenths <= 255);
}

void CheckModuleStatus(std::string_view payload) {
    const std::optional<ModuleStatus> status = DecodeModuleStatus(payload);
    FUZZ_CHECK(status.has_value() == (payload.size() == 4));
    if (!status)
        return;
    FUZZ_CHECK(status->status.size() == 2 && status->status == payload.substr(2, 2));
    FUZZ_CHECK(status->alarm == (payload.substr(2, 2) == "04"));
}

void CheckPressedKeys(std::string_view payload) {
    std::optional<std::vector<int>> keys;
    try {
        keys = DecodePressedKeys(payload);
    } catch (...) {
        FUZZ_CHECK(!"a key list refuses by std::nullopt, never by an exception");
    }
    std::optional<std::vector<int>> expected;
    if (!payload.empty() && payload[0] >= '0' && payload[0] <= '9') {
        const std::size_t count = static_cast<std::size_t>(payload[0] - '0');
        if (payload.size() >= 1 + 2 * count && AllHex(payload.substr(1, 2 * count))) {
            expected.emplace();
            for (std::size_t k = 0; k < count; ++k) {
                const int code = TwoDigits(payload.substr(1 + 2 * k, 2));
                if (code >= kFirstKey && code <= kLastKey)
                    expected->push_back(code);
            }
        }
    }
    FUZZ_CHECK(keys == expected);
}

void CheckDecoders(std::string_view payload) {
    CheckTextReplies(payload);
    CheckLineByte(payload);
    CheckConfiguration(payload);
    CheckWatchdogState(payload);
    CheckModuleStatus(payload);
    CheckPressedKeys(payload);
}

// The prefixes the catalogue expects: "!" + address, "!" alone, ">" alone, none (host alive).
constexpr std::array<std::string_view, 6> kPrefixes = {"!01", "!FF", "!0A", "!", ">", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckDecoders(bytes);

    // As the window meets them: the reply's check first, then the decoder on its payload.
    if (bytes.empty())
        return 0;
    const auto selector = static_cast<unsigned char>(bytes[0]);
    const std::string_view prefix = kPrefixes[selector % kPrefixes.size()];
    const bool checksumOn = (selector & 0x80) != 0;
    const std::string_view reply = bytes.substr(1);

    FUZZ_CHECK(HasExpectedPrefix(reply, prefix) == reply.starts_with(prefix));
    const std::optional<std::string> payload = UnpackReply(reply, prefix, checksumOn);
    FUZZ_CHECK(payload == tkm::fuzz::PayloadOf(reply, prefix, checksumOn));
    if (payload)
        CheckDecoders(*payload);
    return 0;
}
