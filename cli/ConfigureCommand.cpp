// configure: a new address, baud rate, code page or checksum mode, written as the Setting page writes
// it, through the init-pin power cycle when the baud rate or checksum mode changes.
#include "cli/CommandWords.h"
#include "cli/DeviceReport.h"
#include "cli/Interruption.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include "protocol/Commands.h"
#include "protocol/Transact.h"

#include "sim/SimTerminal.h"

#include <QJsonObject>

#include <unistd.h>

namespace proto = tkm::protocol;

namespace {

// The Setting page's box, word for word.
const QString kPowerCycleText =
    QStringLiteral("1) Power off the TKM-9214\n2) Connect init pin to GND\n3) Power on the TKM-9214");
const QString kPowerUpText =
    QStringLiteral("1) Power off the TKM-9214\n2) Disconnect init pin from GND\n3) Power on the TKM-9214");

// How long --yes --verify waits for the terminal to come up at its new settings.
constexpr std::chrono::seconds kVerifyPatience{60};
constexpr std::chrono::milliseconds kVerifyRetry{250};
// Init mode answers at 9600 baud.
constexpr int kInitModeBaudIndex = 5;

std::optional<int> codePageIndex(const QString& name) {
    const QString n = name.toLower().remove(u'-');
    if (n == QLatin1StringView("cp866"))
        return 0;
    if (n == QLatin1StringView("win1251"))
        return 1;
    if (n == QLatin1StringView("koi8r"))
        return 2;
    return std::nullopt;
}

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

namespace ToolCommands {

ExitStatus configure(ToolContext& c) {
    const CommandWords w(c.options, QStringLiteral("configure"));
    w.expectWords(0, 0);
    w.allowOptions({QStringLiteral("new-address"), QStringLiteral("new-baud"), QStringLiteral("code-page"),
                    QStringLiteral("new-checksum"), QStringLiteral("yes"), QStringLiteral("verify")});
    std::optional<int> newAddress;
    if (const std::optional<QString> text = w.value(QStringLiteral("new-address"))) {
        newAddress = ToolOptions::parseAddress(*text);
        if (!newAddress || *newAddress == 0)
            w.fail(
                QStringLiteral("--new-address must be 1 to 255 (decimal, or hexadecimal as 0xNN), not '%1'")
                    .arg(*text));
    }
    std::optional<int> newBaudIndex;
    if (const std::optional<QString> text = w.value(QStringLiteral("new-baud"))) {
        const std::optional<int> rate = ToolOptions::parseBaudRate(*text);
        if (!rate)
            w.fail(QStringLiteral("--new-baud '%1' is not one of the rates %2")
                       .arg(*text, ToolOptions::rateList()));
        newBaudIndex = ToolOptions::baudIndexOf(*rate);
    }
    std::optional<int> newCodePage;
    if (const std::optional<QString> text = w.value(QStringLiteral("code-page"))) {
        newCodePage = codePageIndex(*text);
        if (!newCodePage)
            w.fail(QStringLiteral("--code-page must be cp866, win1251 or koi8r, not '%1'").arg(*text));
    }
    std::optional<bool> newChecksum;
    if (const std::optional<QString> text = w.value(QStringLiteral("new-checksum")))
        newChecksum = w.onOff(*text, QStringLiteral("--new-checksum"));
    const bool yes = w.flag(QStringLiteral("yes"));
    const bool verify = w.flag(QStringLiteral("verify"));

    ToolLine& line = c.line;
    const int baudIndex = newBaudIndex.value_or(line.baudIndex());
    const bool checksum = newChecksum.value_or(line.checksum());
    // A new baud rate or checksum mode is taken only in init mode, which answers at address 0.
    const bool lineChanges = baudIndex != line.baudIndex() || checksum != line.checksum();
    const bool initialisation = lineChanges && line.address() != 0;

    // The fields not given keep the terminal's values; with --yes the terminal is in init mode
    // already, where it tells its code page but not its address.
    std::optional<TerminalConfig> before;
    if (!(initialisation && yes))
        before = TerminalConfig::read(line);
    const int keptAddress = before ? before->address : line.address();
    if (initialisation) {
        if (!powerCycle(c, kPowerCycleText, true, !yes))
            throw NoAnswerError(
                QStringLiteral("configure cancelled; nothing was sent (--yes expects the terminal "
                               "in init mode already)"));
        line.setAddress(0);
        line.setChecksum(false);
        line.setBaudIndex(kInitModeBaudIndex);
        try {
            const TerminalConfig initMode = TerminalConfig::read(line);
            if (!before)
                before = initMode;
        } catch (const ToolError& e) {
            if (e.status() != ExitStatus::NoAnswer)
                throw;
            throw NoAnswerError(QStringLiteral("Device not found (%1); nothing was sent").arg(line.where()));
        }
    }

    proto::ConfigurationWrite config;
    config.newAddress = newAddress.value_or(keptAddress);
    if (config.newAddress == 0)
        w.fail(QStringLiteral("give --new-address: the terminal answers at address 0 only in init mode"));
    config.baudIndex = baudIndex;
    config.codePageIndex = newCodePage.value_or(before->codePageIndex);
    config.checksumEnabled = checksum;
    const TerminalConfig written{config.newAddress, config.baudIndex, config.codePageIndex,
                                 config.checksumEnabled};

    // In init mode the terminal keeps what it is sent for its next power-up without the pin.
    const bool powerUpNeeded = line.address() == 0;
    if (proto::IsTransactError(line.transact(proto::WriteConfiguration(line.address(), config))))
        throw NoAnswerError(QStringLiteral("Data is not saved (%1)").arg(line.where()));
    c.output.text(QStringLiteral("written: ") + written.toText());

    QJsonObject result{{QStringLiteral("written"), written.toJson()},
                       {QStringLiteral("power_cycle"), powerUpNeeded}};
    bool verified = true;
    if (powerUpNeeded) {
        c.output.note(
            QStringLiteral("The TKM-9214 takes the new settings when it is next powered up without the "
                           "init pin."));
    }
    if (verify) {
        if (powerUpNeeded && !powerCycle(c, kPowerUpText, false, !yes))
            throw NoAnswerError(QStringLiteral("configure: written, but not verified (cancelled)"));
        line.setAddress(written.address);
        line.setBaudIndex(written.baudIndex);
        line.setChecksum(written.checksum);
        if (powerUpNeeded && yes && !line.simulator())
            c.output.note(QStringLiteral("Waiting for the TKM-9214 at %1 (up to %2 s)...")
                              .arg(line.where())
                              .arg(kVerifyPatience.count()));
        const std::optional<DeviceReport> after = identifyAfterPowerUp(c, powerUpNeeded && yes);
        verified = after && after->config == written;
        if (after && !verified)
            c.output.message(QStringLiteral("the terminal reports %1").arg(after->config.toText()));
        c.output.text(verified ? QStringLiteral("verified: the terminal answers at ") + line.where()
                               : QStringLiteral("not verified"));
        result.insert(QStringLiteral("verified"), verified);
    } else if (powerUpNeeded) {
        c.output.note(kPowerUpText);
    }
    c.output.object(result);
    return verified ? ExitStatus::Done : ExitStatus::NoAnswer;
}

} // namespace ToolCommands
