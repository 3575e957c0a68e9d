#pragma once

#include "files/IniFile.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <string>
#include <utility>

// One save into a .tkm file, as the window's "Save to file" (on both pages) and the tool's save make
// it. The file is read and checked first, so that a file this process may not write, or whose text the
// INI layer cannot read, is refused before anything changes; the caller then sets its keys, and the
// file gets the modification stamp and is replaced whole (WholeFile), every other section and key
// kept. A plain value; any thread.
class TkmSave {
public:
    // Far more than any .tkm file; a larger file is not one, and is not read into memory.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // The file as the save finds it (empty for a new file). Nothing when it is refused; *reason then
    // says why, in the system's words where the system refused.
    static std::optional<TkmSave> open(const QString& path, QString* reason);

    const QString& path() const { return path_; }
    // Whether the file was there: the save writes into it rather than making it.
    bool existed() const { return existed_; }
    IniFile& file() { return file_; }

    // Stamps the file with `when` ("Modification", "DateTime") and writes it. False, and *reason,
    // when it could not be written; the file is then as it was.
    bool write(const QDateTime& when, QString* reason);

    // The stamp's text: the system's short date, a space, its long time, in Windows-1251.
    static std::string modificationText(const QDateTime& when);

private:
    TkmSave(QString path, IniFile file, bool existed)
        : path_(std::move(path)), file_(std::move(file)), existed_(existed) {}

    QString path_;
    IniFile file_;
    bool existed_;
};
