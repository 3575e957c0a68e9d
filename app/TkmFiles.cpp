#include "app/TkmFiles.h"

#include "app/AppDialogs.h"
#include "app/FileDialog.h"
#include "files/TerminalText.h"
#include "files/WholeFile.h"

#include <QDir>
#include <QLocale>

namespace {

void showFailure(const QString& what, const QString& path, const QString& reason) {
    AppDialogs::message(AppDialogs::Icon::Error, AppDialogs::Buttons::Ok,
                        QStringLiteral("%1 %2:\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

} // namespace

TkmFiles::TkmFiles(FileDialog* openDialog, FileDialog* saveDialog)
    : openDialog_(openDialog), saveDialog_(saveDialog) {}

std::optional<IniFile> TkmFiles::read() {
    if (!openDialog_->Execute())
        return std::nullopt;
    const QString path = openDialog_->FileName();
    WholeFile::ReadFailure failure;
    const std::optional<QByteArray> bytes = WholeFile::read(path, kMaxFileSize, &failure);
    if (!bytes) {
        showFailure(QStringLiteral("Cannot read"), path, failure.reason);
        return std::nullopt;
    }
    saveDialog_->SetFileName(path);
    return IniFile(*bytes);
}

bool TkmFiles::save(const std::function<void(IniFile&)>& writeKeys) {
    if (!saveDialog_->Execute())
        return false;
    const QString path = saveDialog_->FileName();
    WholeFile::ReadFailure failure;
    const std::optional<QByteArray> before = WholeFile::read(path, kMaxFileSize, &failure);
    // What is there and cannot be read would be lost by writing over it.
    if (!before && !failure.missing) {
        showFailure(QStringLiteral("Cannot save"), path, failure.reason);
        return false;
    }
    IniFile file(before.value_or(QByteArray()));
    writeKeys(file);
    file.setValue("Modification", "DateTime", modificationText(QDateTime::currentDateTime()));
    QString reason;
    if (!WholeFile::replace(path, file.bytes(), &reason)) {
        showFailure(QStringLiteral("Cannot save"), path, reason);
        return false;
    }
    openDialog_->SetFileName(path);
    return true;
}

std::string TkmFiles::modificationText(const QDateTime& when) {
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
