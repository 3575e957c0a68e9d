// ports and symbols: the machine's serial ports, and user symbols from a .tkm file.
#include "cli/CommandWords.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include "files/IniFile.h"
#include "files/SymbolFile.h"
#include "files/WholeFile.h"

#include "protocol/Commands.h"
#include "protocol/Transact.h"

#include "seriallink/PortEnumerator.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace proto = tkm::protocol;

namespace {

// As large a file as the window reads.
constexpr qint64 kMaxFileSize = 1024 * 1024;

} // namespace

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
    WholeFile::ReadFailure failure;
    const std::optional<QByteArray> bytes = WholeFile::read(path, kMaxFileSize, &failure);
    if (!bytes)
        throw UsageError(
            QStringLiteral("Cannot read %1:\n%2").arg(QDir::toNativeSeparators(path), failure.reason));
    const IniFile file(*bytes);
    if (!SymbolFile::hasSymbols(file))
        throw UsageError(QStringLiteral("%1 holds no user symbols (no [%2] section); nothing was sent")
                             .arg(QDir::toNativeSeparators(path), QString::fromLatin1(SymbolFile::kSection)));
    std::vector<std::string> codes;
    bool rejected = false;
    for (int n = first; n <= last; ++n) {
        const SymbolFile::Checked checked = SymbolFile::check(n, SymbolFile::code(file, n));
        if (!checked.objection.isEmpty()) {
            c.output.message(checked.objection);
            rejected = true;
        }
        codes.push_back(checked.code);
    }
    if (rejected)
        throw UsageError(QStringLiteral("%1 holds symbols the terminal cannot take; nothing was sent")
                             .arg(QDir::toNativeSeparators(path)));

    // Like "Save all symbol": a symbol that fails does not stop the others.
    QJsonArray written;
    QJsonArray failed;
    for (int n = first; n <= last; ++n) {
        const std::string& code = codes[static_cast<std::size_t>(n - first)];
        if (proto::IsTransactError(c.line.transact(proto::WriteSymbol(c.line.address(), n, code)))) {
            c.output.message(QStringLiteral("Symbol not saved: #%1 (%2)").arg(n).arg(c.line.where()));
            failed.append(n);
        } else {
            c.output.text(QStringLiteral("symbol %1: %2").arg(n).arg(QString::fromStdString(code)));
            written.append(n);
        }
    }
    c.output.object({{QStringLiteral("written"), written}, {QStringLiteral("failed"), failed}});
    return failed.isEmpty() ? ExitStatus::Done : ExitStatus::NoAnswer;
}

} // namespace ToolCommands
