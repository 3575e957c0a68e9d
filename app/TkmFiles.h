#pragma once

#include "files/IniFile.h"

#include <QString>

#include <functional>
#include <optional>

class FileDialog;

// The .tkm files of the Setting and UserSymbols pages, chosen in the window's two file dialogs. Both
// pages keep their sections in the same files, so a save changes only the caller's keys and the
// modification stamp and leaves every other section and key as it was. A successful read hands its file
// name to the save dialog and a successful save to the open dialog, so that the next save proposes the
// file just read and the next read the file just saved.
//
// A file that cannot be read or written is reported in an error box naming the file and the reason;
// nothing changes then. Saving into an existing file asks first, saying that its other sections stay
// (the platform dialog's own question would say the file is replaced). User-interface thread only.
class TkmFiles {
public:
    TkmFiles(FileDialog* openDialog, FileDialog* saveDialog);

    // Shows the open dialog and reads the chosen file. Nothing when cancelled or unreadable.
    std::optional<IniFile> read();
    // Shows the save dialog; the chosen file's content (none for a new file) gets the caller's keys
    // and the modification stamp, then replaces the file whole (TkmSave). `what` names what is saved
    // in the question ("the settings"). False when cancelled or not written.
    bool save(const QString& what, const std::function<void(IniFile& file)>& writeKeys);

    // The question before saving into an existing file; OK saves.
    static QString saveIntoQuestion(const QString& path, const QString& what);

private:
    FileDialog* openDialog_;
    FileDialog* saveDialog_;
};
