#pragma once

#include "files/IniFile.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class FileDialog;

// The .tkm files of the Setting and UserSymbols pages, chosen in the window's two file dialogs. Both
// pages keep their sections in the same files, so a save changes only the caller's keys and the
// modification stamp and leaves every other section and key as it was. A successful read hands its file
// name to the save dialog and a successful save to the open dialog, so that the next save proposes the
// file just read and the next read the file just saved.
//
// A file that cannot be read or written is reported in an error box naming the file and the system's
// reason; nothing changes then. User-interface thread only.
class TkmFiles {
public:
    // Far more than any settings file; a larger file is not one, and is not read into memory.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    TkmFiles(FileDialog* openDialog, FileDialog* saveDialog);

    // Shows the open dialog and reads the chosen file. Nothing when cancelled or unreadable.
    std::optional<IniFile> read();
    // Shows the save dialog; the chosen file's content (none for a new file) gets the caller's keys
    // and the modification stamp, then replaces the file whole. False when cancelled or not written.
    bool save(const std::function<void(IniFile& file)>& writeKeys);

    // The stamp's text: the system's short date, a space, its long time, in Windows-1251.
    static std::string modificationText(const QDateTime& when);

private:
    FileDialog* openDialog_;
    FileDialog* saveDialog_;
};
