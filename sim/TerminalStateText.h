#pragma once

#include "sim/TerminalState.h"

#include <string>

namespace tkm::sim {

// Texts for people looking at a simulated terminal (the program's state command).

// One display byte in the terminal's code page (0 CP-866, 1 WIN-1251, 2 KOI-8R) as UTF-8. The eight
// user symbols (0xB0..0xB7, or 0xB8..0xBF under KOI-8R) show as subscript digits; bytes the display
// has no letter for show as a middle dot.
std::string displayByteText(unsigned char byte, int codePage);
std::string displayRowText(const std::string& row, int codePage);

std::string codePageName(int codePage); // "CP-866", "WIN-1251", "KOI-8R"

std::string formatDisplay(const TerminalState& state);
std::string formatSymbols(const TerminalState& state);
// Everything: identity, line and stored configuration, display, lamps, lines, watchdog, keys, symbols.
std::string formatState(const TerminalState& state);

} // namespace tkm::sim
