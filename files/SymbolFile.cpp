#include "files/SymbolFile.h"

#include "files/TerminalText.h"

#include "protocol/Conversions.h"

namespace SymbolFile {

std::string code(const IniFile& file, int n) {
    return file.value(kSection, std::to_string(n)).value_or(kEmptyCode);
}

bool hasSymbols(const IniFile& file) {
    return file.hasSection(kSection);
}

Checked check(int n, const std::string& value) {
    const std::string empty(kEmptyCode);
    if (value.size() != empty.size())
        return {empty, QStringLiteral("Incorrect length symbol #%1").arg(n)};
    for (const char c : value) {
        if (!tkm::protocol::IsHexDigit(c))
            return {empty, QStringLiteral("Incorrect symbol #%1 '%2'")
                               .arg(QString::number(n), TerminalText::visible(std::string(1, c)))};
    }
    return {value, {}};
}

void setCode(IniFile& file, int n, const std::string& code) {
    file.setValue(kSection, std::to_string(n), code);
}

} // namespace SymbolFile
