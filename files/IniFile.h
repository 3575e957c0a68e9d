#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The text of an initialisation file ("[Section]" lines, each followed by "Key=Value" lines), read and
// changed as the Windows profile service does, but kept line by line as it came: line ends, comments,
// blank lines and every other section and key stay byte for byte, and setting a value rewrites only
// that key's line (or adds one).
//
// Reading: sections and keys are found case-insensitively (Cyrillic letters too); of repeated sections
// or keys the first counts; blanks around names and values are dropped and one pair of enclosing quotes
// is taken off a value. Lines may end in CR LF (written on Windows) or LF; added lines take the file's
// own line end, CR LF in a new file, so that the file reads back on Windows. Names and values are bytes
// in Windows-1251, the files' code page.
//
// A plain value; any thread.
class IniFile {
public:
    IniFile() = default; // an empty file
    explicit IniFile(const QByteArray& bytes);

    QByteArray bytes() const;

    // Text this layer cannot read as it was meant, so that keys written into it would land where no
    // reader finds them: UTF-16 (or any text with NUL bytes), or lines that end in CR alone.
    enum class TextProblem { None, Utf16, NulBytes, CrLineEnds };
    static TextProblem textProblem(const QByteArray& bytes);
    // What is wrong, in a sentence for a message box or a tool's error output.
    static QString describe(TextProblem problem);

    bool hasSection(std::string_view section) const;
    // Nothing when the section or the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the value of the key, or adds the key after the section's last key, or adds the section
    // at the end of the file. A line break inside the value would start a line of its own, so it is
    // written as a blank.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n", or empty on a last line without one
    };
    struct Entry {
        QByteArray key;
        QByteArray value;
        qsizetype equals = -1; // where "=" stands in the line's text
    };

    QByteArray nameText(qsizetype line) const;
    std::optional<QByteArray> sectionName(qsizetype line) const;
    std::optional<Entry> entry(qsizetype line) const;
    // The first line of the section's header, or -1; *endLine: the line after its last line.
    qsizetype findSection(std::string_view section, qsizetype* endLine) const;
    qsizetype findKey(qsizetype header, qsizetype endLine, std::string_view key) const;
    void insertLine(qsizetype at, const QByteArray& text);

    QList<Line> lines_;
    QByteArray newline_ = QByteArrayLiteral("\r\n");
};
