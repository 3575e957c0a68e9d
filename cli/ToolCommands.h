#pragma once

#include "cli/ToolError.h"

class PortEnumerator;
class ToolOutput;
struct ToolContext;

// The commands of tkm9214, one function each. They check their own words and options (a wrong one
// throws UsageError before anything is sent), talk through the context's line and write their result
// to its output. A failed exchange throws NoAnswerError, a port that goes away PortError. Owner thread.
namespace ToolCommands {

ExitStatus ports(PortEnumerator& enumerator, ToolOutput& output);
ExitStatus identify(ToolContext& context);
ExitStatus find(ToolContext& context);
ExitStatus configure(ToolContext& context);
ExitStatus display(ToolContext& context);
ExitStatus keys(ToolContext& context);
ExitStatus dio(ToolContext& context);
ExitStatus symbols(ToolContext& context);
ExitStatus watchdog(ToolContext& context);
ExitStatus save(ToolContext& context);
ExitStatus apply(ToolContext& context);
ExitStatus send(ToolContext& context);

} // namespace ToolCommands
