// save and apply: a terminal's settings into a .tkm file as the Setting page saves them, and a .tkm
// file's settings and user symbols into a terminal, for a production rig that configures many alike.
#include "cli/CommandWords.h"
#include "cli/ConfigureProcedure.h"
#include "cli/SymbolWriting.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOutput.h"

#include "files/SettingsFile.h"
#include "files/SymbolFile.h"
#include "files/TkmSave.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace {

ToolError cannotSave(const QString& path, const QString& reason) {
    return FileError(QStringLiteral("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

namespace ToolCommands {

ExitStatus save(ToolContext& c) {
    const QString name = QStringLiteral("save");
    const CommandWords w(c.options, name);
    w.expectWords(1, 0);
    w.allowOptions({});
    const QString path = w.word(0);

    // A file that will not take the settings is refused before the terminal is asked.
    QString reason;
    std::optional<TkmSave> save = TkmSave::open(path, &reason);
    if (!save)
        throw cannotSave(path, reason);
    const TerminalConfig config = TerminalConfig::read(c.line);
    if (config.address == 0)
        throw RefusedError(
            QStringLiteral("the terminal is in init mode (address 0), where it does not report "
                           "its own settings; nothing was saved"));
    // As "Read setting" puts the configuration on the Setting page and "Save to file" writes the page.
    SettingsFile::write(save->file(),
                        {config.baudIndex, config.codePageIndex, config.checksum ? 0 : 1, config.address});
    if (!save->write(QDateTime::currentDateTime(), &reason))
        throw cannotSave(path, reason);
    c.output.result(QStringLiteral("saved to %1: %2").arg(QDir::toNativeSeparators(path), config.toText()),
                    {{QStringLiteral("saved"), path}, {QStringLiteral("settings"), config.toJson()}});
    return ExitStatus::Done;
}

ExitStatus apply(ToolContext& c) {
    const QString name = QStringLiteral("apply");
    const CommandWords w(c.options, name);
    w.expectWords(1, 0);
    w.allowOptions({QStringLiteral("yes"), QStringLiteral("verify")});
    const QString path = w.word(0);
    const bool yes = w.flag(QStringLiteral("yes"));
    const bool verify = w.flag(QStringLiteral("verify"));

    // Everything is read and checked before anything is sent.
    const IniFile file = SymbolWriting::readFile(path);
    const bool hasSettings = file.hasSection(SettingsFile::kSection);
    const bool hasSymbols = SymbolFile::hasSymbols(file);
    if (!hasSettings && !hasSymbols)
        throw FileError(
            QStringLiteral("%1 holds neither settings ([%2]) nor user symbols ([%3]); nothing was sent")
                .arg(QDir::toNativeSeparators(path), QString::fromLatin1(SettingsFile::kSection),
                     QString::fromLatin1(SymbolFile::kSection)));
    const std::vector<std::string> codes =
        hasSymbols ? SymbolWriting::checkedCodes(c.output, file, path, 0, SymbolFile::kSymbols - 1)
                   : std::vector<std::string>();

    // The settings first: afterwards the symbols go where the terminal then answers, at its new
    // address or, after the power cycle with the init pin, at address 0 in init mode.
    std::optional<ConfigurationWritten> written;
    if (hasSettings) {
        // The values as "Read in file" puts them on the Setting page, whose address control keeps 1..255.
        const SettingsFile::Values values = SettingsFile::read(file);
        const ConfigurationChange change{std::max(values.address, 1), values.baudIndex, values.codePageIndex,
                                         values.checksumIndex == 0};
        try {
            written = ConfigureProcedure::write(c, change, yes, name);
        } catch (const ToolError& e) {
            if (!hasSymbols)
                throw;
            throw ToolError(e.kind(), e.message() + QStringLiteral("; the user symbols were not written"),
                            e.status());
        }
    }
    QJsonArray symbols;
    for (int n = 0; n < static_cast<int>(codes.size()); ++n) {
        if (!SymbolWriting::write(c, n, codes[static_cast<std::size_t>(n)]))
            throw NoAnswerError(QStringLiteral("%1 stopped at symbol #%2: symbols %2 to %3 were not written")
                                    .arg(name)
                                    .arg(n)
                                    .arg(SymbolFile::kSymbols - 1));
        symbols.append(n);
    }

    QJsonObject result{
        {QStringLiteral("settings"), written ? QJsonValue(written->config.toJson()) : QJsonValue()},
        {QStringLiteral("power_cycle"), written && written->powerUpNeeded},
        {QStringLiteral("symbols"), symbols}};
    bool verified = true;
    if (verify) {
        verified = ConfigureProcedure::verify(c, written, yes, name);
        result.insert(QStringLiteral("verified"), verified);
    } else if (written) {
        ConfigureProcedure::remindPowerUp(c, *written);
    }
    c.output.object(result);
    return verified ? ExitStatus::Done : ExitStatus::NoAnswer;
}

} // namespace ToolCommands
