#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Small files read and replaced whole, the way the utility keeps its .tkm files. Failures carry the
// system's reason ("Permission denied", "No space left on device"). Any thread; calls on the same file
// are not coordinated with each other.
namespace WholeFile {

struct ReadFailure {
    QString reason;
    bool missing = false; // the file does not exist (a new file to be saved)
};

// The whole content of a regular file of at most maxBytes. A folder, a device, a pipe or a larger
// file is refused with a reason of its own, so that a wrong choice in a dialog never blocks or fills
// the memory.
std::optional<QByteArray> read(const QString& path, qint64 maxBytes, ReadFailure* failure = nullptr);

// Why replace() would not write the file, or nothing when it may: the file, or its folder, may not be
// written by this process, it is no regular file, or its symbolic links go round. Checked again by
// replace() itself; asked first by a caller that has more to do before it writes.
std::optional<QString> refusal(const QString& path);

// Called after each piece written with the bytes written so far: first into the copy beside the file
// (up to the size of the bytes), then, when the file is written in place, into the file (counting on
// from there). Returning false stops the write there, as a crash or a full disk would. For tests.
using Interruption = std::function<bool(qint64 written)>;

// Replaces the file's content with bytes, never leaving a half-written file under its name when a
// write fails: a complete copy is written beside it first (a hidden `.<name>.<8 hex digits>~`) and
// flushed to the disk, then renamed over it. The file keeps its permissions, and its owner and group
// are given to the copy. Where the rename would still lose something (an owner or group this process
// may not give a file, or the file's other names, hard links), the content is written into the file
// itself instead, from the complete copy, which is then removed; should that write fail, the old
// content is written back. The file is whole again only once that write ends: a process killed in the
// middle of it leaves the copy, whose content is the whole new file.
//
// A symbolic link, or a chain of them, is followed to its end, which is created when it does not
// exist. What refusal() names is refused first, with nothing changed. Copies that killed saves left
// beside the file are removed (a copy that a running save holds is not). On failure the file is as it
// was, no copy of this save is left, and *reason gets the system's reason.
bool replace(const QString& path, const QByteArray& bytes, QString* reason = nullptr,
             const Interruption& interruption = {});

} // namespace WholeFile
