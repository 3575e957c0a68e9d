#include "files/TkmSave.h"

#include "files/TerminalText.h"
#include "files/WholeFile.h"

#include <QLocale>

std::optional<TkmSave> TkmSave::open(const QString& path, QString* reason) {
    WholeFile::ReadFailure failure;
    const std::optional<QByteArray> before = WholeFile::read(path, kMaxFileSize, &failure);
    // What is there and cannot be read would be lost by writing over it.
    if (!before && !failure.missing) {
        *reason = failure.reason;
        return std::nullopt;
    }
    if (before) {
        if (const IniFile::TextProblem problem = IniFile::textProblem(*before);
            problem != IniFile::TextProblem::None) {
            *reason = IniFile::describe(problem);
            return std::nullopt;
        }
    }
    if (std::optional<QString> refused = WholeFile::refusal(path)) {
        *reason = *refused;
        return std::nullopt;
    }
    return TkmSave(path, IniFile(before.value_or(QByteArray())), before.has_value());
}

bool TkmSave::write(const QDateTime& when, QString* reason) {
    file_.setValue("Modification", "DateTime", modificationText(when));
    return WholeFile::replace(path_, file_.bytes(), reason);
}

std::string TkmSave::modificationText(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    QString text = locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                   locale.toString(when.time(), QLocale::LongFormat);
    // Some locales separate with spaces that Windows-1251 lacks (U+202F); a plain blank reads the same.
    for (QChar& c : text) {
        if (c.isSpace())
            c = QLatin1Char(' ');
    }
    return TerminalText::toWin1251(text);
}
