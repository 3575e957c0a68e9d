#include "app/TkmFiles.h"

#include "app/AppDialogs.h"
#include "app/FileDialog.h"
#include "files/TkmSave.h"
#include "files/WholeFile.h"

#include <QDateTime>
#include <QDir>

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
    const std::optional<QByteArray> bytes = WholeFile::read(path, TkmSave::kMaxFileSize, &failure);
    if (!bytes) {
        showFailure(QStringLiteral("Cannot read"), path, failure.reason);
        return std::nullopt;
    }
    saveDialog_->SetFileName(path);
    return IniFile(*bytes);
}

bool TkmFiles::save(const QString& what, const std::function<void(IniFile&)>& writeKeys) {
    if (!saveDialog_->Execute())
        return false;
    const QString path = saveDialog_->FileName();
    QString reason;
    std::optional<TkmSave> save = TkmSave::open(path, &reason);
    if (!save) {
        showFailure(QStringLiteral("Cannot save"), path, reason);
        return false;
    }
    if (save->existed() && !AppDialogs::message(AppDialogs::Icon::Warning, AppDialogs::Buttons::OkCancel,
                                                saveIntoQuestion(path, what)))
        return false;
    writeKeys(save->file());
    if (!save->write(QDateTime::currentDateTime(), &reason)) {
        showFailure(QStringLiteral("Cannot save"), path, reason);
        return false;
    }
    openDialog_->SetFileName(path);
    return true;
}

QString TkmFiles::saveIntoQuestion(const QString& path, const QString& what) {
    return QStringLiteral("%1 already exists.\nSave %2 into it? Its other sections are kept.")
        .arg(QDir::toNativeSeparators(path), what);
}
