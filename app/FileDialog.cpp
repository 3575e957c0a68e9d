#include "app/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

FileDialog::FileDialog(Kind kind, QWidget* owner) : QObject(owner), kind_(kind), owner_(owner) {}

bool FileDialog::Execute() {
    std::optional<QString> chosen;
    if (chooser_) {
        chosen = chooser_(*this);
    } else {
        const QString start = fileName_.isEmpty() ? initialDir_ : fileName_;
        QFileDialog dialog(owner_, QString(), start, filter_);
        dialog.setAcceptMode(kind_ == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(kind_ == Kind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (!defaultExt_.isEmpty())
            dialog.setDefaultSuffix(defaultExt_);
        // Its question says the file is replaced; the caller asks what its save really does.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (!chosen || chosen->isEmpty())
        return false;
    fileName_ = WithDefaultExt(*chosen);
    return true;
}

QString FileDialog::WithDefaultExt(const QString& fileName) const {
    if (defaultExt_.isEmpty() || QFileInfo(fileName).fileName().contains(QLatin1Char('.')))
        return fileName;
    const QString extended = fileName + QLatin1Char('.') + defaultExt_;
    if (kind_ == Kind::Save || (!QFileInfo::exists(fileName) && QFileInfo::exists(extended)))
        return extended;
    return fileName;
}

QString FileDialog::StartFolder(const QString& programFolder) {
    const QFileInfo folder(programFolder);
    return folder.isDir() && folder.isWritable() ? programFolder : QDir::homePath();
}
