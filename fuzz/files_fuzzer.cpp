// The readers of the .tkm files: the settings values and the user symbols, read from arbitrary file
// bytes as the Setting page, the UserSymbols page and the tool read them. Against an independent
// reading of the rules: a settings value is its key's plain decimal number when that lies within its
// list, and the default otherwise; a symbol is taken when it is 16 hex digits and refused with the
// page's message naming the first fault otherwise. Writing what was read and reading it back gives
// the same values, and the other keys of the file keep what they read before.
#include "FuzzCheck.h"

#include "files/IniFile.h"
#include "files/SettingsFile.h"
#include "files/SymbolFile.h"
#include "files/TerminalText.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// The key's number as the file holds it: digits only, after an optional minus; nothing when the text
// is anything else. Saturates far above every list so that long digit runs stay out of range.
std::optional<long long> PlainNumber(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    std::size_t at = 0;
    const bool negative = !text->empty() && (*text)[0] == '-';
    if (negative)
        at = 1;
    if (at == text->size())
        return std::nullopt;
    long long number = 0;
    for (; at < text->size(); ++at) {
        const char c = (*text)[at];
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number > 1'000'000 ? number : number * 10 + (c - '0');
    }
    return negative ? -number : number;
}

int Expected(const IniFile& file, const char* key, int fallback, int highest) {
    const std::optional<long long> number = PlainNumber(file.value(SettingsFile::kSection, key));
    return number && *number >= 0 && *number <= highest ? static_cast<int>(*number) : fallback;
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void CheckSettings(const IniFile& file) {
    const SettingsFile::Values defaults;
    const SettingsFile::Values read = SettingsFile::read(file);
    FUZZ_CHECK(read.baudIndex == Expected(file, "BaudRated", defaults.baudIndex, 9));
    FUZZ_CHECK(read.codePageIndex == Expected(file, "CodePage", defaults.codePageIndex, 2));
    FUZZ_CHECK(read.checksumIndex == Expected(file, "CS", defaults.checksumIndex, 1));
    FUZZ_CHECK(read.address == Expected(file, "Addr", defaults.address, 255));

    // Saved again over the same file, the values read back as they are, and so do the symbols.
    IniFile saved = file;
    SettingsFile::write(saved, read);
    const IniFile reread(saved.bytes());
    FUZZ_CHECK(SettingsFile::read(reread) == read);
    for (int n = 0; n < SymbolFile::kSymbols; ++n)
        FUZZ_CHECK(SymbolFile::code(reread, n) == SymbolFile::code(file, n));
}

void CheckSymbols(const IniFile& file) {
    const SettingsFile::Values settings = SettingsFile::read(file);
    IniFile saved = file;
    for (int n = 0; n < SymbolFile::kSymbols; ++n) {
        const std::string value = SymbolFile::code(file, n);
        if (!file.value(SymbolFile::kSection, std::to_string(n)))
            FUZZ_CHECK(value == SymbolFile::kEmptyCode);
        const SymbolFile::Checked checked = SymbolFile::check(n, value);

        std::size_t fault = 0;
        while (fault < value.size() && IsHex(value[fault]))
            ++fault;
        const QString number = QString::number(n);
        if (value.size() != 16) {
            FUZZ_CHECK(checked.code == SymbolFile::kEmptyCode);
            FUZZ_CHECK(checked.objection == QStringLiteral("Incorrect length symbol #") + number);
        } else if (fault < value.size()) {
            FUZZ_CHECK(checked.code == SymbolFile::kEmptyCode);
            FUZZ_CHECK(checked.objection == QStringLiteral("Incorrect symbol #%1 '%2'")
                                                .arg(number, TerminalText::visible(value.substr(fault, 1))));
        } else {
            FUZZ_CHECK(checked.code == value);
            FUZZ_CHECK(checked.objection.isEmpty());
        }
        SymbolFile::setCode(saved, n, checked.code);
    }

    // The page's save: the checked codes read back as written, and the settings keep what they read.
    const IniFile reread(saved.bytes());
    FUZZ_CHECK(SymbolFile::hasSymbols(reread));
    for (int n = 0; n < SymbolFile::kSymbols; ++n)
        FUZZ_CHECK(SymbolFile::check(n, SymbolFile::code(reread, n)).code == SymbolFile::code(reread, n));
    FUZZ_CHECK(SettingsFile::read(reread) == settings);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const IniFile file(bytes);
    FUZZ_CHECK(file.bytes() == bytes);
    CheckSettings(file);
    CheckSymbols(file);
    return 0;
}
