#pragma once

#include "terminal/TerminalLine.h"

#include "protocol/Replies.h"

// The terminal's host watchdog: enabled or not, its period in tenths of a second (0..255), the module
// status it raises when the host-alive messages stop, and those messages.
namespace tkm::terminal {

// ~AA2 into `state`, which is reset (disabled, period 0) first, so that a failed read leaves it so. The
// reply must be exactly 5 characters. A period that is no hex number raises the conversion error
// (EConvertError); with checked replies it is an invalid reply.
Result<> ReadWatchdog(TerminalLine& line, int address, protocol::WatchdogState& state,
                      Replies replies = Replies::AsReceived);
// ~AA3 + E + HH.
Result<> SetWatchdog(TerminalLine& line, int address, bool enabled, int periodTenths);
// ~**: no address, and any reply, or none, will do.
void SendHostAlive(TerminalLine& line);
// ~AA0: the reply must be exactly 4 characters.
Result<protocol::ModuleStatus> ReadStatus(TerminalLine& line, int address);
// ~AA1.
Result<> ResetStatus(TerminalLine& line, int address);

} // namespace tkm::terminal
