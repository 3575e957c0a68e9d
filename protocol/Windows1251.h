#pragma once

// The PC side of the terminal's text: Windows-1251, byte by byte to and from Unicode. The terminal's
// own code pages (CP-866, KOI-8R) are reached from Windows-1251 by ToTerminalCodePage.
// Pure functions; any thread.

#include <optional>

namespace tkm::protocol {

// The Unicode character of a Windows-1251 byte; std::nullopt for 0x98, the one byte the code page
// leaves unassigned.
std::optional<char32_t> Win1251ToUnicode(unsigned char byte);

// The Windows-1251 byte of a Unicode character; std::nullopt when the code page has none for it.
std::optional<unsigned char> UnicodeToWin1251(char32_t character);

} // namespace tkm::protocol
