#pragma once

// One decoder per reply layout. Input is the payload Transact returned (never kTransactError: test
// for that first). Pure functions; any thread.
//
// Failure policy, the same for every decoder:
//  - a payload whose layout is wrong decodes as std::nullopt: the exchange failed. The layout is the
//    length (a fixed-length reply must be exactly its length; a key list must hold the N codes its
//    count announces, and what follows them is not part of it) and, for the replies that are nothing
//    but hex codes (line byte, key list), hex digits where the codes stand;
//  - a fixed-length payload of the right length whose number field is not hexadecimal throws
//    EConvertError, the conversion error the application shows in its exception box (the watchdog
//    period);
//  - fields the callers keep as text (device name, firmware, configuration fields) are not parsed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tkm::protocol {

// $AAM and $AAF: any text, kept whole.
std::string DecodeDeviceName(std::string_view payload);
std::string DecodeFirmware(std::string_view payload);

// The two-hex-digit byte of the DIO lines (line k in bit 7 - k): line state (@AA), direction byte
// ($AAD), power-on and safe values (~AA4P, ~AA4S). Returned as received; std::nullopt unless the
// payload is exactly two hex digits.
std::optional<std::string> DecodeLineByte(std::string_view payload);

// $AA2: five two-character fields, kept as text (the pages parse them when they need numbers).
struct ConfigurationFields {
    std::string address;
    std::string typeCode;
    std::string baudCode;     // baud-rate list index + 1, hex
    std::string codePageCode; // "00" CP-866, "01" WIN-1251, "02" KOI-8R
    std::string formatCode;   // "40" checksum on, "00" off

    bool operator==(const ConfigurationFields&) const = default;
};
// std::nullopt unless the payload is exactly 10 characters.
std::optional<ConfigurationFields> DecodeConfiguration(std::string_view payload);

// ~AA2: address (2), enable flag (1, "1" = enabled), period (2 hex digits, tenths of a second).
struct WatchdogState {
    bool enabled = false;
    int periodTenths = 0;

    bool operator==(const WatchdogState&) const = default;
};
// std::nullopt unless the payload is exactly 5 characters; throws EConvertError for a non-hex period.
std::optional<WatchdogState> DecodeWatchdogState(std::string_view payload);

// ~AA0: address (2), status (2); "04" is the alarm status.
struct ModuleStatus {
    std::string status;
    bool alarm = false;

    bool operator==(const ModuleStatus&) const = default;
};
// std::nullopt unless the payload is exactly 4 characters.
std::optional<ModuleStatus> DecodeModuleStatus(std::string_view payload);

inline constexpr int kFirstKey = 1;
inline constexpr int kLastKey = 30;
// $AAK: one decimal digit N, then 2 * N hex digits, one key number per pair; anything after them is
// ignored. Returns the key numbers in reply order, dropping those outside 1..30 (the keypad has no such
// keys); std::nullopt when the count is not a digit or its codes are missing or not hexadecimal.
std::optional<std::vector<int>> DecodePressedKeys(std::string_view payload);

// The caption of key 1..30 as printed on the keypad ("F1" .. "F10", "ESC", "7", ..., "Enter"); empty for
// any other number.
std::string_view KeyName(int key);

} // namespace tkm::protocol
