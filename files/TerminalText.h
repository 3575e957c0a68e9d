#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one boundary between the terminal's bytes and the window's text. The PC side of the terminal
// speaks Windows-1251; what the terminal sends is shown through it, as plain text, and what the user
// types goes to the terminal through it.
namespace TerminalText {

// Terminal bytes as text to show: Windows-1251 characters as they are; control bytes (below 0x20,
// 0x7F) and the unassigned 0x98 as "\xNN", so that nothing is hidden, garbled or taken for layout.
QString visible(std::string_view bytes);

// A traffic-log line as built by the transaction ("N<tab>command --> reply<CR>"): the reply's
// terminator is dropped, the log's own tab kept, everything else shown as by visible().
QString logLine(std::string_view line);

// Typed text as Windows-1251 bytes. Characters the code page cannot hold are left out and listed in
// *unconvertible (each once, in order), when given.
std::string toWin1251(const QString& text, QString* unconvertible = nullptr);

// The longest text the display commands send; longer text is cut.
inline constexpr int kDisplayTextLength = 43;

// Typed text for the terminal's display: its first kDisplayTextLength characters in Windows-1251.
// What the terminal cannot show is not to be sent at all: a character outside Windows-1251 has no code
// on the terminal, and a control character (a carriage return above all) would break the frame. Such
// characters are listed in *refused, each once as visible() shows it; when it is not empty, nothing
// is to be sent. Convert the result to the terminal's code page with ToTerminalCodePage.
std::string displayText(const QString& text, QString* refused);

} // namespace TerminalText
