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

// Called after each piece written to the temporary file with the bytes written so far; returning false
// stops the write there, as a crash or a full disk would. For tests.
using Interruption = std::function<bool(qint64 written)>;

// Replaces the file's content with bytes: written to a temporary file beside it, flushed to the disk,
// then renamed over it, so that the file is either the old one or the new one, never half written. An
// existing file keeps its permissions (and its owner and group where the system lets us); a symbolic
// link is followed and its target replaced. On failure the file is as it was, no temporary file is
// left, and *reason gets the system's reason.
bool replace(const QString& path, const QByteArray& bytes, QString* reason = nullptr,
             const Interruption& interruption = {});

} // namespace WholeFile
