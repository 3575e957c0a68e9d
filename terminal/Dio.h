#pragma once

#include "terminal/TerminalLine.h"

#include <string>

// The DIO lines: line k is bit 7 - k of every byte; in a direction byte a set bit means input.
namespace tkm::terminal {

// A read whose reply is one of the lines' bytes (line state, direction, power-on or safe value): exactly
// two hex digits, returned in upper case, as an LED bank reads back; anything else is an invalid reply.
Result<std::string> ReadLineByte(TerminalLine& line, const protocol::Command& read);

// @AA: the present state of the lines.
Result<std::string> ReadLines(TerminalLine& line, int address);
// @AA + HH: the output lines to the byte's values.
Result<> WriteLines(TerminalLine& line, int address, int lineByte);
// $AAD + HH: the lines' directions.
Result<> SaveDirections(TerminalLine& line, int address, int directionByte);
// ~AA5P / ~AA5S: the outputs as they are now become the power-on (safe) state.
Result<> SavePowerOnState(TerminalLine& line, int address);
Result<> SaveSafeState(TerminalLine& line, int address);

} // namespace tkm::terminal
