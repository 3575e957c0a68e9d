#include "files/IniFile.h"

#include "protocol/Windows1251.h"

#include <QString>

namespace {

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

QString fromWin1251(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const std::optional<char32_t> c = tkm::protocol::Win1251ToUnicode(static_cast<unsigned char>(byte));
        text += c ? QChar(static_cast<char16_t>(*c)) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

bool sameName(QByteArrayView a, std::string_view b) {
    return fromWin1251(a).compare(fromWin1251(QByteArrayView(b.data(), static_cast<qsizetype>(b.size()))),
                                  Qt::CaseInsensitive) == 0;
}

QByteArray bytesOf(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

IniFile::IniFile(const QByteArray& bytes) {
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines_.append({bytes.mid(start), {}});
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        lines_.append({bytes.mid(start, textEnd - start), bytes.mid(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    for (const Line& line : lines_) {
        if (!line.end.isEmpty()) {
            newline_ = line.end;
            break;
        }
    }
}

QByteArray IniFile::bytes() const {
    QByteArray all;
    for (const Line& line : lines_)
        all += line.text + line.end;
    return all;
}

IniFile::TextProblem IniFile::textProblem(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return TextProblem::Utf16;
    if (bytes.contains('\0'))
        return TextProblem::NulBytes;
    for (qsizetype at = bytes.indexOf('\r'); at >= 0; at = bytes.indexOf('\r', at + 1)) {
        if (at + 1 == bytes.size() || bytes[at + 1] != '\n')
            return TextProblem::CrLineEnds;
    }
    return TextProblem::None;
}

QString IniFile::describe(TextProblem problem) {
    switch (problem) {
    case TextProblem::None:
        break;
    case TextProblem::Utf16:
        return QStringLiteral("The file is UTF-16 text; .tkm files are 8-bit text (Windows-1251 or ASCII)");
    case TextProblem::NulBytes:
        return QStringLiteral("The file holds NUL bytes: it is UTF-16 text or no text at all");
    case TextProblem::CrLineEnds:
        return QStringLiteral("The file's lines end in CR alone; .tkm files end them in CR LF or LF");
    }
    return {};
}

// A line's text as names are read from it: blanks around it dropped, and a byte-order mark that an
// editor put at the start of the file.
QByteArray IniFile::nameText(qsizetype line) const {
    const QByteArray& text = lines_[line].text;
    if (line == 0 && text.startsWith(kUtf8Bom))
        return text.mid(kUtf8Bom.size()).trimmed();
    return text.trimmed();
}

std::optional<QByteArray> IniFile::sectionName(qsizetype line) const {
    const QByteArray text = nameText(line);
    const qsizetype close = text.lastIndexOf(']');
    if (!text.startsWith('[') || close < 1)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

std::optional<IniFile::Entry> IniFile::entry(qsizetype line) const {
    const QByteArray text = nameText(line);
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('['))
        return std::nullopt;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    Entry found;
    found.key = text.left(equals).trimmed();
    found.value = text.mid(equals + 1).trimmed();
    found.equals = lines_[line].text.indexOf('=');
    if (found.value.size() >= 2 && (found.value.front() == '"' || found.value.front() == '\'') &&
        found.value.back() == found.value.front())
        found.value = found.value.mid(1, found.value.size() - 2);
    return found;
}

qsizetype IniFile::findSection(std::string_view section, qsizetype* endLine) const {
    qsizetype header = -1;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const std::optional<QByteArray> name = sectionName(i);
        if (!name)
            continue;
        if (header >= 0) {
            *endLine = i;
            return header;
        }
        if (sameName(*name, section))
            header = i;
    }
    *endLine = lines_.size();
    return header;
}

qsizetype IniFile::findKey(qsizetype header, qsizetype endLine, std::string_view key) const {
    for (qsizetype i = header + 1; i < endLine; ++i) {
        const std::optional<Entry> found = entry(i);
        if (found && sameName(found->key, key))
            return i;
    }
    return -1;
}

bool IniFile::hasSection(std::string_view section) const {
    qsizetype endLine = 0;
    return findSection(section, &endLine) >= 0;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    qsizetype endLine = 0;
    const qsizetype header = findSection(section, &endLine);
    if (header < 0)
        return std::nullopt;
    const qsizetype line = findKey(header, endLine, key);
    if (line < 0)
        return std::nullopt;
    return entry(line)->value.toStdString();
}

void IniFile::insertLine(qsizetype at, const QByteArray& text) {
    // The line before may be the file's last, without a line end of its own.
    if (at > 0 && lines_[at - 1].end.isEmpty())
        lines_[at - 1].end = newline_;
    lines_.insert(at, {text, newline_});
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    QByteArray written = bytesOf(value);
    written.replace('\r', ' ').replace('\n', ' ');

    qsizetype endLine = 0;
    const qsizetype header = findSection(section, &endLine);
    if (header < 0) {
        insertLine(lines_.size(), '[' + bytesOf(section) + ']');
        insertLine(lines_.size(), bytesOf(key) + '=' + written);
        return;
    }
    if (const qsizetype line = findKey(header, endLine, key); line >= 0) {
        // The key keeps its spelling and what stands before its "=".
        Line& replaced = lines_[line];
        replaced.text = replaced.text.left(entry(line)->equals + 1) + written;
        return;
    }
    qsizetype after = header;
    for (qsizetype i = header + 1; i < endLine; ++i) {
        if (entry(i))
            after = i;
    }
    insertLine(after + 1, bytesOf(key) + '=' + written);
}
