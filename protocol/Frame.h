#pragma once

// The command frame and its checksum, and the rules a reply must meet before its payload is used.
// Pure functions; any thread.

#include <optional>
#include <string>
#include <string_view>

namespace tkm::protocol {

inline constexpr char kTerminator = '\r';

// The bus address 0..255 as two upper-case hex digits ("00".."FF").
// Throws std::out_of_range outside 0..255: the address controls never produce such a value.
std::string AddressText(int address);

// Two upper-case hex digits of the 8-bit wrapping byte sum of text; empty when checksum mode is off.
std::string FrameChecksum(std::string_view text, bool checksumMode);

// The command text followed by its checksum (if on), without the terminator: what the traffic log shows.
std::string CommandWithChecksum(std::string_view command, bool checksumMode);

// What goes on the line: command, checksum (if on), carriage return.
std::string BuildFrame(std::string_view command, bool checksumMode);

// The first prefix.size() bytes of reply equal prefix exactly (case matters). An empty prefix always
// passes; a reply shorter than the prefix fails.
bool HasExpectedPrefix(std::string_view reply, std::string_view prefix);

// Whether the bytes received so far are a whole reply: they end with the terminator and, with checksum
// mode on, the two characters before it are the checksum of everything before them. Whether the
// reply starts with the expected prefix is not looked at: a refusal is a whole reply too.
bool IsWholeReply(std::string_view received, bool checksumMode);

// What was read after a frame went out, less the line's echo of that frame: an exact copy of the frame
// at the very start. A frame starts with '$', '%', '@', '~' or '#' and a reply with '!', '?' or '>', so
// the copy is never part of a reply. Anything else (no echo, a partial or garbled one) is left whole.
std::string_view WithoutEcho(std::string_view received, std::string_view frame);

// The payload of a reply: prefix, checksum digits (when checksum mode is on) and the one terminator
// character (whatever its value) removed. std::nullopt when the prefix test fails or, with checksum mode
// on, when the two characters before the terminator are not the checksum, in upper case, of everything
// before them, or the reply is too short to hold a checksum and a terminator after the prefix.
// With checksum mode off a reply holding only the prefix (with or without terminator) has an empty payload.
std::optional<std::string> UnpackReply(std::string_view reply, std::string_view prefix, bool checksumMode);

} // namespace tkm::protocol
