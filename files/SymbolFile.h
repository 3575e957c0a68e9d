#pragma once

#include "files/IniFile.h"

#include <QString>

#include <optional>
#include <string>

// The user symbols in a .tkm file: section "UserSymbols", keys "0".."7", each value a symbol code of 16
// hex digits as the UserSymbols page keeps it. Reading checks each value as the page always has and
// words its objection the same way, for the page's message box and the tool's error output alike.
// Plain functions; any thread.
namespace SymbolFile {

inline constexpr const char* kSection = "UserSymbols";
inline constexpr int kSymbols = 8;
// An empty symbol, also what a missing key reads as.
inline constexpr const char* kEmptyCode = "0000000000000000";

// The value of symbol n (0..7) as the file holds it: the empty code when the key or the section is
// missing.
std::string code(const IniFile& file, int n);

// Whether the file has the section at all (a settings file without symbols has not).
bool hasSymbols(const IniFile& file);

// A code as the table takes it: 16 hex digits of either case, kept as they are. Anything else is
// refused with the page's message, "Incorrect length symbol #n" or "Incorrect symbol #n 'c'" naming
// the first character that is not a hex digit.
struct Checked {
    std::string code;  // the code, or the empty code when refused
    QString objection; // empty when the code is accepted
};
Checked check(int n, const std::string& value);

// Writes code n into the file's section, leaving every other key as it is.
void setCode(IniFile& file, int n, const std::string& code);

} // namespace SymbolFile
