#include "files/TerminalText.h"

#include "protocol/Windows1251.h"

#include <QList>

#include <algorithm>

#include <optional>

namespace proto = tkm::protocol;

namespace TerminalText {

namespace {

void appendEscaped(QString& out, unsigned char byte) {
    static const char digits[] = "0123456789ABCDEF";
    out += QLatin1String("\\x");
    out += QLatin1Char(digits[byte >> 4]);
    out += QLatin1Char(digits[byte & 0x0F]);
}

} // namespace

QString visible(std::string_view bytes) {
    // Printable ASCII is the same in Windows-1251: most of a log line, taken in one go.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const std::optional<char32_t> character = proto::Win1251ToUnicode(byte);
        if (!character || byte < 0x20 || byte == 0x7F)
            appendEscaped(out, byte);
        else
            out += QChar(static_cast<char16_t>(*character)); // Windows-1251 lies within the BMP
    }
    return out;
}

QString logLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return visible(line);
    return visible(line.substr(0, tab)) + QLatin1Char('\t') + visible(line.substr(tab + 1));
}

std::string toWin1251(const QString& text, QString* unconvertible) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t character : text.toUcs4()) {
        if (const std::optional<unsigned char> byte = proto::UnicodeToWin1251(character)) {
            out += static_cast<char>(*byte);
        } else if (unconvertible) {
            const QString shown = QString::fromUcs4(&character, 1);
            if (!unconvertible->contains(shown))
                *unconvertible += shown;
        }
    }
    return out;
}

std::string displayText(const QString& text, QString* refused) {
    const QList<uint> characters = text.toUcs4();
    const QString cut = QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()),
                                          std::min<qsizetype>(characters.size(), kDisplayTextLength));
    QString left;
    const std::string win1251 = toWin1251(cut, &left);
    for (const char c : win1251) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            const QString shown = visible(std::string(1, c));
            if (!left.contains(shown))
                left += shown;
        }
    }
    if (refused)
        *refused = left;
    return win1251;
}

} // namespace TerminalText
