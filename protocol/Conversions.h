#pragma once

// Conversions between the PC's text and the terminal's data. Everything on the line is text made of
// 8-bit bytes, so all texts here are std::string / std::string_view holding raw bytes (display text
// is Windows-1251 on the PC side and CP-866 or KOI-8R on the terminal side, never UTF-8).
// All functions are pure and may be called from any thread.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tkm::protocol {

// Upper-case hexadecimal, zero-padded to at least minDigits digits: (255, 2) -> "FF", (256, 2) -> "100".
std::string HexText(std::uint32_t value, int minDigits = 2);

// Reads text as a hexadecimal number ("1e", "0A"). Throws EConvertError when text is empty, holds a
// character that is not a hex digit, or exceeds the int range; the message quotes the text as the
// number parser saw it, with its "$" hex marker: "'$G1' is not a valid integer value".
int ParseHex(std::string_view text);

// Plain decimal ("%i" style).
std::string DecimalText(int value);

// Reads an optionally signed decimal number. Throws EConvertError quoting text when it is empty, holds
// anything but digits after the sign, or exceeds the int range. No blanks are accepted.
int ParseDecimal(std::string_view text);

// Four bit characters ('0'/'1', most significant first) per input character; a character that is not a
// hex digit gives "0000".
std::string HexToBits(std::string_view hexText);

// True exactly for the one-character texts "0".."9", "A".."F", "a".."f".
bool IsHexDigit(std::string_view text);
bool IsHexDigit(char c);

// Dot (r, c) of a 5x8 user symbol is item r * 5 + c; row 0 is the top, column 0 the left.
inline constexpr int kSymbolColumns = 5;
inline constexpr int kSymbolRows = 8;
using SymbolDots = std::array<bool, kSymbolColumns * kSymbolRows>;

// 16 upper-case hex digits, one byte per row from the top, bit 4 the leftmost dot.
std::string SymbolCodeFromDots(const SymbolDots& dots);

// Bits 7..5 of each row byte are ignored. Characters that are not hex digits, and characters missing
// from a code shorter than 16, count as "0".
SymbolDots DotsFromSymbolCode(std::string_view code);

// Terminal code-page codes as the configuration reports them.
inline constexpr std::string_view kCodePageCp866 = "00";
inline constexpr std::string_view kCodePageWin1251 = "01";
inline constexpr std::string_view kCodePageKoi8r = "02";

// "CP-866", "WIN-1251" or "KOI-8R" for the codes above; empty for any other code.
std::string_view CodePageName(std::string_view codePageCode);

// Converts Windows-1251 text for the terminal's display. Codes "00" (CP-866) and "02" (KOI-8R) convert
// the Cyrillic letters and Ё/ё, copy bytes below 0x80 and drop every other byte of 0x80..0xBF; any other
// code (including "01" and an empty code) returns the text unchanged.
std::string ToTerminalCodePage(std::string_view win1251Text, std::string_view codePageCode);

} // namespace tkm::protocol
