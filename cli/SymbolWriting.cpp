#include "cli/SymbolWriting.h"

#include "cli/ToolContext.h"
#include "cli/ToolError.h"
#include "cli/ToolLine.h"
#include "cli/ToolOutput.h"

#include "files/SymbolFile.h"
#include "files/TkmSave.h"
#include "files/WholeFile.h"

#include "protocol/Commands.h"
#include "protocol/Transact.h"

#include <QDir>

namespace proto = tkm::protocol;

namespace SymbolWriting {

IniFile readFile(const QString& path) {
    WholeFile::ReadFailure failure;
    const std::optional<QByteArray> bytes = WholeFile::read(path, TkmSave::kMaxFileSize, &failure);
    QString reason = bytes ? IniFile::describe(IniFile::textProblem(*bytes)) : failure.reason;
    if (!reason.isEmpty())
        throw FileError(QStringLiteral("Cannot read %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
    return IniFile(*bytes);
}

std::vector<std::string> checkedCodes(ToolOutput& output, const IniFile& file, const QString& path, int first,
                                      int last) {
    std::vector<std::string> codes;
    bool rejected = false;
    for (int n = first; n <= last; ++n) {
        const SymbolFile::Checked checked = SymbolFile::check(n, SymbolFile::code(file, n));
        if (!checked.objection.isEmpty()) {
            output.message(checked.objection);
            rejected = true;
        }
        codes.push_back(checked.code);
    }
    if (rejected)
        throw FileError(QStringLiteral("%1 holds symbols the terminal cannot take; nothing was sent")
                            .arg(QDir::toNativeSeparators(path)));
    return codes;
}

bool write(ToolContext& c, int n, const std::string& code) {
    if (proto::IsTransactError(c.line.transact(proto::WriteSymbol(c.line.address(), n, code)))) {
        c.output.message(QStringLiteral("Symbol not saved: #%1 (%2)").arg(n).arg(c.line.where()));
        return false;
    }
    c.output.text(QStringLiteral("symbol %1: %2").arg(n).arg(QString::fromStdString(code)));
    return true;
}

} // namespace SymbolWriting
