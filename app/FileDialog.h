#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// A file dialog component of the window: it keeps its filter, initial folder and last file name
// between uses and shows the platform's open or save dialog only when executed (no dialog widget,
// and no file-system watcher, lives while it is not shown). User-interface thread only.
class FileDialog : public QObject {
    Q_OBJECT
public:
    enum class Kind { Open, Save };
    // Stands in for the dialog in tests: returns the chosen file, or nothing for Cancel.
    using Chooser = std::function<std::optional<QString>(const FileDialog& dialog)>;

    FileDialog(Kind kind, QWidget* owner);

    Kind kind() const { return kind_; }
    QString Filter() const { return filter_; }
    void SetFilter(const QString& filter) { filter_ = filter; }
    QString InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString& folder) { initialDir_ = folder; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    QString DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& extension) { defaultExt_ = extension; }

    // Shows the dialog; true and FileName set when the user chose a file, false on Cancel. A save
    // dialog does not ask whether an existing file is to be replaced: the caller asks what it means to
    // do with the file.
    bool Execute();

    // A name typed without an extension gets DefaultExt, as the dialogs of the system the files come
    // from give it: a save dialog always, an open dialog when that names an existing file and the bare
    // name does not.
    QString WithDefaultExt(const QString& fileName) const;

    // Where the dialogs start: the program's own folder, unless it is not writable (an installed
    // program), then the user's home folder.
    static QString StartFolder(const QString& programFolder);

    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

private:
    Kind kind_;
    QWidget* owner_;
    QString filter_;
    QString initialDir_;
    QString fileName_;
    QString defaultExt_;
    Chooser chooser_;
};
