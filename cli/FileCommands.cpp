// ports and symbols: the machine's serial ports, and user symbols from a .tkm file.
#include "cli/CommandWords.h"
#include "cli/SymbolWriting.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include "files/IniFile.h"
#include "files/SymbolFile.h"

#include "seriallink/PortEnumerator.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace ToolCommands {

ExitStatus ports(PortEnumerator& enumerator, ToolOutput& output) {
    QList<PortEntry> entries = enumerator.Enumerate();
    std::sort(entries.begin(), entries.end(),
              [](const PortEntry& a, const PortEntry& b) { return a.DevicePath < b.DevicePath; });
    QJsonArray list;
    for (const PortEntry& e : entries) {
        // The chooser's name is "path (identity)" when the adapter says what it is.
        const QString prefix = e.DevicePath + QStringLiteral(" (");
        const QString identity = e.Name.startsWith(prefix) && e.Name.endsWith(u')')
                                     ? e.Name.mid(prefix.size(), e.Name.size() - prefix.size() - 1)
                                     : QString();
        output.text(e.Name);
        list.append(
            QJsonObject{{QStringLiteral("path"), e.DevicePath},
                        {QStringLiteral("description"), identity.isEmpty() ? QJsonValue() : identity}});
    }
    output.object({{QStringLiteral("ports"), list}});
    return ExitStatus::Done;
}

ExitStatus symbols(ToolContext& c) {
    CommandWords::subcommand(c.options, {QStringLiteral("write")});
    const CommandWords w(c.options, QStringLiteral("symbols write"));
    w.expectWords(1);
    w.allowOptions({QStringLiteral("index")});
    const QString path = w.word(1);
    const std::optional<QString> index = w.value(QStringLiteral("index"));
    const int first = index ? w.number(*index, 0, SymbolFile::kSymbols - 1, QStringLiteral("--index")) : 0;
    const int last = index ? first : SymbolFile::kSymbols - 1;

    // The UserSymbols page's reader and its messages; a file that does not pass sends nothing.
    const IniFile file = SymbolWriting::readFile(path);
    if (!SymbolFile::hasSymbols(file))
        throw FileError(QStringLiteral("%1 holds no user symbols (no [%2] section); nothing was sent")
                            .arg(QDir::toNativeSeparators(path), QString::fromLatin1(SymbolFile::kSection)));
    const std::vector<std::string> codes = SymbolWriting::checkedCodes(c.output, file, path, first, last);

    // A symbol that gets no answer stops the rest: on a silent line each would cost a reply wait.
    QJsonArray written;
    QJsonArray failed;
    QJsonArray unsent;
    for (int n = first; n <= last; ++n) {
        if (!failed.isEmpty())
            unsent.append(n);
        else if (SymbolWriting::write(c, n, codes[static_cast<std::size_t>(n - first)]))
            written.append(n);
        else
            failed.append(n);
    }
    if (!unsent.isEmpty())
        c.output.message(
            QStringLiteral("symbols %1 to %2 were not sent").arg(unsent.first().toInt()).arg(last));
    c.output.object({{QStringLiteral("written"), written},
                     {QStringLiteral("failed"), failed},
                     {QStringLiteral("not_sent"), unsent}});
    return failed.isEmpty() ? ExitStatus::Done : ExitStatus::NoAnswer;
}

} // namespace ToolCommands
