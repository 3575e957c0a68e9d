#pragma once

class Interruption;
class ToolLine;
class ToolOptions;
class ToolOutput;

// What a command runs with: its command line, the open line to the terminal, the output and the
// interruption of its waits. Owner thread only.
struct ToolContext {
    const ToolOptions& options;
    ToolLine& line;
    ToolOutput& output;
    const Interruption& interruption;
};
