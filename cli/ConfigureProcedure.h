#pragma once

#include "cli/DeviceReport.h"

#include <QString>

#include <optional>

struct ToolContext;

// A new configuration for the terminal; the fields not given keep the terminal's values.
struct ConfigurationChange {
    std::optional<int> address; // 1..255
    std::optional<int> baudIndex;
    std::optional<int> codePageIndex;
    std::optional<bool> checksum;
};

// What was written, and whether the terminal takes it only at its next power-up without the init pin.
struct ConfigurationWritten {
    TerminalConfig config;
    bool powerUpNeeded = false;
};

// The configuration written as the Setting page's "Save settign" writes it, for the tool's configure
// and apply. Messages name the command that runs the procedure. Owner thread, like the line.
namespace ConfigureProcedure {

// A new address or code page is written at once. A new baud rate or checksum mode is taken only in init
// mode: the power cycle with the init pin is shown and Enter awaited (with `yes` the terminal is in init
// mode already; the built-in simulated terminal is switched by the tool), then the configuration is
// written at address 0, 9600 baud, checksum off. Prints "written: ..." and leaves the line where the
// terminal answers now: at its new address, or at address 0 in init mode. Throws NoAnswerError when
// cancelled or not answered ("Device not found", "Data is not saved"), UsageError when the address is
// neither given nor known.
ConfigurationWritten write(ToolContext& c, const ConfigurationChange& change, bool yes,
                           const QString& command);

// Identifies the terminal where it answers with what was written, after the power-up without the pin
// when it needs one (shown and Enter awaited; with `yes` waited for, up to 60 s); without anything
// written, that it answers at the line's settings. Prints "verified: ..." or "not verified"; true when
// verified. Throws NoAnswerError when the power-up is cancelled.
bool verify(ToolContext& c, const std::optional<ConfigurationWritten>& written, bool yes,
            const QString& command);

// Without verify: the power-up steps, when the terminal needs them to take what was written.
void remindPowerUp(ToolContext& c, const ConfigurationWritten& written);

} // namespace ConfigureProcedure
