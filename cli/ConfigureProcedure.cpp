#include "cli/ConfigureProcedure.h"

#include "cli/Interruption.h"
#include "cli/ToolContext.h"
#include "cli/ToolError.h"
#include "cli/ToolLine.h"
#include "cli/ToolOutput.h"

#include "terminal/ConfigurationProcedure.h"

#include "sim/SimTerminal.h"

#include <unistd.h>

#include <chrono>

namespace term = tkm::terminal;

namespace {

// The Setting page's box, word for word.
const QString kPowerCycleText =
    QStringLiteral("1) Power off the TKM-9214\n2) Connect init pin to GND\n3) Power on the TKM-9214");
const QString kPowerUpText =
    QStringLiteral("1) Power off the TKM-9214\n2) Disconnect init pin from GND\n3) Power on the TKM-9214");

// How long --yes --verify waits for the terminal to come up at its new settings.
constexpr std::chrono::seconds kVerifyPatience{60};
constexpr std::chrono::milliseconds kVerifyRetry{250};

// The person at the terminal does the power cycle and presses Enter; the built-in simulated terminal
// is switched by the tool itself. False when cancelled.
bool powerCycle(ToolContext& c, const QString& steps, bool initPin, bool waitForEnter) {
    c.output.note(steps);
    if (tkm::sim::SimTerminal* simulator = c.line.simulator()) {
        c.output.note(QStringLiteral("(done on the built-in simulated terminal)"));
        simulator->model().setInitPin(initPin);
        simulator->model().powerCycle();
        return true;
    }
    if (!waitForEnter)
        return true;
    c.output.note(QStringLiteral("Press Enter when done (Ctrl-C cancels)."));
    return c.interruption.readLine(STDIN_FILENO).has_value();
}

// Identification at the line's settings; with patience, again and again until the terminal answers.
std::optional<DeviceReport> identifyAfterPowerUp(ToolContext& c, bool patient) {
    const auto giveUp = std::chrono::steady_clock::now() + kVerifyPatience;
    for (;;) {
        try {
            return DeviceReport::read(c.line);
        } catch (const ToolError& e) {
            if (e.status() != ExitStatus::NoAnswer || !patient ||
                std::chrono::steady_clock::now() >= giveUp || c.interruption.sleep(kVerifyRetry)) {
                c.output.message(e.message());
                return std::nullopt;
            }
        }
    }
}

} // namespace

namespace ConfigureProcedure {

ConfigurationWritten write(ToolContext& c, const ConfigurationChange& change, bool yes,
                           const QString& command) {
    using Procedure = term::ConfigurationProcedure;
    ToolLine& line = c.line;
    const int baudIndex = change.baudIndex.value_or(line.baudIndex());
    const bool checksum = change.checksum.value_or(line.checksum());
    Procedure procedure({line.address(), line.baudIndex(), line.checksum()}, baudIndex, checksum);

    // The fields not given keep the terminal's values; with --yes the terminal is in init mode
    // already, where it tells its code page but not its address.
    std::optional<TerminalConfig> before;
    if (!(procedure.needsInitMode() && yes))
        before = TerminalConfig::read(line);
    const int keptAddress = before ? before->address : line.address();
    if (procedure.needsInitMode()) {
        if (!powerCycle(c, kPowerCycleText, true, !yes))
            throw NoAnswerError(QStringLiteral("%1 cancelled; nothing was sent (--yes expects the terminal "
                                               "in init mode already)")
                                    .arg(command));
        procedure.powerCycled();
        line.setAddress(Procedure::kInitModeAddress);
        line.setChecksum(Procedure::kInitModeChecksum);
        line.setBaudIndex(Procedure::kInitModeBaudIndex);
        procedure.switched();
        try {
            const TerminalConfig initMode = TerminalConfig::read(line);
            if (!before)
                before = initMode;
        } catch (const ToolError& e) {
            if (e.status() != ExitStatus::NoAnswer)
                throw;
            throw NoAnswerError(QStringLiteral("Device not found (%1); nothing was sent").arg(line.where()));
        }
        procedure.found();
    }

    const int newAddress = change.address.value_or(keptAddress);
    if (newAddress == 0)
        throw UsageError(
            QStringLiteral("%1: give --new-address: the terminal answers at address 0 only in init "
                           "mode")
                .arg(command));
    const int codePageIndex = change.codePageIndex.value_or(before->codePageIndex);
    ConfigurationWritten written;
    written.config = {newAddress, baudIndex, codePageIndex, checksum};

    // In init mode the terminal keeps what it is sent for its next power-up without the pin.
    written.powerUpNeeded = procedure.takenAtPowerUp();
    if (!procedure.write(line, newAddress, codePageIndex))
        throw NoAnswerError(QStringLiteral("Data is not saved (%1)").arg(line.where()));
    c.output.text(QStringLiteral("written: ") + written.config.toText());
    if (written.powerUpNeeded) {
        c.output.note(
            QStringLiteral("The TKM-9214 takes the new settings when it is next powered up without the "
                           "init pin."));
    }
    if (procedure.next() == Procedure::Step::Follow) {
        // A new address (the only line setting that changes here) is taken at once.
        line.setAddress(procedure.newAddress());
        procedure.followed();
    }
    return written;
}

bool verify(ToolContext& c, const std::optional<ConfigurationWritten>& written, bool yes,
            const QString& command) {
    ToolLine& line = c.line;
    const bool powerUp = written && written->powerUpNeeded;
    if (powerUp && !powerCycle(c, kPowerUpText, false, !yes))
        throw NoAnswerError(QStringLiteral("%1: written, but not verified (cancelled)").arg(command));
    if (written) {
        line.setAddress(written->config.address);
        line.setBaudIndex(written->config.baudIndex);
        line.setChecksum(written->config.checksum);
    }
    if (powerUp && yes && !line.simulator())
        c.output.note(QStringLiteral("Waiting for the TKM-9214 at %1 (up to %2 s)...")
                          .arg(line.where())
                          .arg(kVerifyPatience.count()));
    const std::optional<DeviceReport> after = identifyAfterPowerUp(c, powerUp && yes);
    const bool verified = after && (!written || after->config == written->config);
    if (after && !verified)
        c.output.message(QStringLiteral("the terminal reports %1").arg(after->config.toText()));
    c.output.text(verified ? QStringLiteral("verified: the terminal answers at ") + line.where()
                           : QStringLiteral("not verified"));
    return verified;
}

void remindPowerUp(ToolContext& c, const ConfigurationWritten& written) {
    if (written.powerUpNeeded)
        c.output.note(kPowerUpText);
}

} // namespace ConfigureProcedure
