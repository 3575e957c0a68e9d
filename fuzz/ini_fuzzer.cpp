// The INI layer of the .tkm files: read arbitrary bytes, set a few keys, write, read back. Reading
// loses nothing (the bytes come back as they were); each key set reads back as set; every key that
// was not set reads as before; and the written bytes are the old lines in their order, byte for
// byte, except the lines of the keys set (changed only after their "="), the lines added for new keys
// and sections, and a line end given to a last line that had none.
#include "FuzzCheck.h"

#include "files/IniFile.h"
#include "protocol/Windows1251.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Names the pages use, each with a second spelling: names are found without regard to case,
// Cyrillic letters included. The fuzzer makes names of its own too.
using Spellings = std::pair<std::string, std::string>;
const std::vector<Spellings> kSections = {{"CommSetting", "commsetting"},
                                          {"UserSymbols", "USERSYMBOLS"},
                                          {"Modification", "mODIFICATION"},
                                          {"\xC0\xE1\xE2", "\xE0\xC1\xE2"},
                                          {"\xA8", "\xB8"}};
const std::vector<Spellings> kKeys = {{"BaudRated", "baudrated"},
                                      {"CodePage", "CODEPAGE"},
                                      {"CS", "cs"},
                                      {"Addr", "aDDR"},
                                      {"0", "0"},
                                      {"7", "7"},
                                      {"DateTime", "datetime"},
                                      {"\xC6\xE6", "\xE6\xC6"}};

// A name that reads back as itself: no blanks at its ends, nothing that ends a name or starts a comment.
std::string OwnName(FuzzedDataProvider& input) {
    std::string name = input.ConsumeRandomLengthString(6);
    std::string safe;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte > 0x20 && byte != '=' && byte != '[' && byte != ']' && byte != ';' && byte != 0x7F &&
             byte != '"' && byte != '\'') ||
            (byte == ' ' && !safe.empty()))
            safe.push_back(c);
    }
    while (!safe.empty() && safe.back() == ' ')
        safe.pop_back();
    return safe.empty() ? std::string("K") : safe;
}

std::string PickName(FuzzedDataProvider& input, const std::vector<Spellings>& pool) {
    const std::size_t pick = input.ConsumeIntegralInRange<std::size_t>(0, 2 * pool.size());
    if (pick == 2 * pool.size())
        return OwnName(input);
    return pick % 2 == 0 ? pool[pick / 2].first : pool[pick / 2].second;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A value the page could write: no blanks at its ends and not enclosed in quotes, which reading takes
// off; line breaks inside are allowed and read back as blanks.
std::string OwnValue(FuzzedDataProvider& input) {
    std::string value = input.ConsumeRandomLengthString(24);
    for (bool changed = true; changed;) {
        changed = false;
        while (!value.empty() && IsBlank(value.front())) {
            value.erase(0, 1);
            changed = true;
        }
        while (!value.empty() && IsBlank(value.back())) {
            value.pop_back();
            changed = true;
        }
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value.pop_back();
            changed = true;
        }
    }
    return value;
}

std::string AsRead(std::string value) {
    for (char& c : value) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return value;
}

// A name as it is compared: Windows-1251 text, case folded (Cyrillic letters too).
QString Folded(std::string_view bytes) {
    QString unicode;
    for (const char c : bytes)
        unicode += QChar(static_cast<char16_t>(
            tkm::protocol::Win1251ToUnicode(static_cast<unsigned char>(c)).value_or(0xFFFD)));
    return unicode.toCaseFolded();
}

struct Edit {
    std::string section;
    std::string key;
    std::string value;
    QString foldedSection;
    QString foldedKey;

    bool sameKey(const QString& section, const QString& key) const {
        return foldedSection == section && foldedKey == key;
    }
};

struct Line {
    QByteArray text;
    QByteArray end;
};

QList<Line> LinesOf(const QByteArray& bytes) {
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines.append({bytes.mid(start), {}});
            break;
        }
        const qsizetype textEnd = newline > start && bytes[newline - 1] == '\r' ? newline - 1 : newline;
        lines.append({bytes.mid(start, textEnd - start), bytes.mid(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    return lines;
}

// The written file against the original, line by line, as the header says.
void CheckLines(const QByteArray& before, const QByteArray& after, const std::vector<Edit>& edits) {
    const QList<Line> old = LinesOf(before);
    const QList<Line> now = LinesOf(after);
    qsizetype o = 0;
    for (const Line& line : now) {
        if (o < old.size()) {
            const Line& original = old[o];
            // The old last line may have been given a line end: its bytes then come first, as they were
            // (a last line ending in a carriage return reads back one character shorter, as it should).
            const bool last = o == old.size() - 1 && original.end.isEmpty();
            const QByteArray raw = line.text + line.end;
            if ((line.text == original.text && line.end == original.end) ||
                (last && (raw == original.text + "\n" || raw == original.text + "\r\n"))) {
                ++o;
                continue;
            }
            // A key's line: the same up to its "=", a new value after it.
            const qsizetype equals = original.text.indexOf('=');
            if (equals >= 0 && line.text.left(equals + 1) == original.text.left(equals + 1) &&
                (line.end == original.end || last)) {
                ++o;
                continue;
            }
        }
        // An added line: a section header or a key line of one of the edits.
        bool added = false;
        for (const Edit& edit : edits) {
            const QByteArray section = QByteArray::fromStdString("[" + edit.section + "]");
            const QByteArray key = QByteArray::fromStdString(edit.key + "=");
            added = added || line.text == section || line.text.startsWith(key);
        }
        FUZZ_CHECK(added);
    }
    FUZZ_CHECK(o == old.size()); // every old line is still there
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<Edit> edits(input.ConsumeIntegralInRange(1, 4));
    for (Edit& edit : edits) {
        edit.section = PickName(input, kSections);
        edit.key = PickName(input, kKeys);
        edit.value = OwnValue(input);
        edit.foldedSection = Folded(edit.section);
        edit.foldedKey = Folded(edit.key);
    }
    const QByteArray original = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());

    IniFile file(original);
    FUZZ_CHECK(file.bytes() == original);

    // What every name of the pools reads before the edits, in its first spelling.
    struct Probe {
        const Spellings* section;
        const Spellings* key;
        std::optional<std::string> before;
    };
    std::vector<Probe> probes;
    for (const Spellings& section : kSections) {
        for (const Spellings& key : kKeys)
            probes.push_back({&section, &key, file.value(section.first, key.first)});
    }

    for (const Edit& edit : edits)
        file.setValue(edit.section, edit.key, edit.value);
    const QByteArray written = file.bytes();
    const IniFile reread(written);
    FUZZ_CHECK(reread.bytes() == written);

    for (std::size_t i = 0; i < edits.size(); ++i) {
        // The last edit of the same key wins.
        bool overwritten = false;
        for (std::size_t j = i + 1; j < edits.size(); ++j)
            overwritten = overwritten || edits[j].sameKey(edits[i].foldedSection, edits[i].foldedKey);
        if (!overwritten)
            FUZZ_CHECK(reread.value(edits[i].section, edits[i].key) == AsRead(edits[i].value));
    }
    // Untouched keys read as before, also in their second spelling.
    for (const Probe& probe : probes) {
        const QString section = Folded(probe.section->first);
        const QString key = Folded(probe.key->first);
        bool edited = false;
        for (const Edit& edit : edits)
            edited = edited || edit.sameKey(section, key);
        if (!edited)
            FUZZ_CHECK(reread.value(probe.section->second, probe.key->second) == probe.before);
    }
    CheckLines(original, written, edits);
    return 0;
}
