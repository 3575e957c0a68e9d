#pragma once

#include "files/IniFile.h"

#include <QString>

#include <string>
#include <vector>

class ToolOutput;
struct ToolContext;

// The user symbols of a .tkm file into the terminal, as the UserSymbols page's "Read in file" and
// "Save symbol" do, for the tool's symbols and apply commands. Owner thread, like the line.
namespace SymbolWriting {

// The .tkm file at path, read whole. Throws UsageError ("Cannot read ...") when it cannot be read or
// holds text the INI layer cannot read (UTF-16, lines that end in CR alone).
IniFile readFile(const QString& path);

// Codes first..last of the file, checked as the page checks them. Each objection goes to standard
// error with the page's words; then UsageError, since nothing is to be sent.
std::vector<std::string> checkedCodes(ToolOutput& output, const IniFile& file, const QString& path, int first,
                                      int last);

// Sends symbol n: "symbol n: CODE" when the terminal takes it, else the page's "Symbol not saved" on
// standard error and false.
bool write(ToolContext& c, int n, const std::string& code);

} // namespace SymbolWriting
