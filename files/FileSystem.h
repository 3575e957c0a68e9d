#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The system calls under WholeFile, one small function each (FileSystem_posix.cpp). Each returns 0 or
// the system's error number, which reason() turns into the system's text. Any thread.
namespace FileSystem {

// Stands for "not a regular file", which the system has no error number of its own for.
inline constexpr int kNotRegular = -1;

// The system's text for an error number ("Permission denied").
QString reason(int error);

// Where a path leads: its symbolic links followed one after the other to the last name, which need
// not exist yet. A chain that goes round gives ELOOP.
int followLinks(const QString& path, QString* end);

// What a save needs to know of a file that exists. Found by the name, without following a last link.
struct Facts {
    bool regular = false;
    bool directory = false;
    bool otherNames = false; // hard links: the file is reached by more than this name
    unsigned owner = 0;
    unsigned group = 0;
    unsigned permissions = 0; // with the set-id and sticky bits
};
// ENOENT when nothing has the name.
int inspect(const QString& path, Facts* facts);

// Whether this process may write the file, or make files in the folder (the system decides: root may
// write what is protected from others).
int mayWrite(const QString& path);
int mayMakeFilesIn(const QString& folder);

// An open file, closed when destroyed.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // An existing regular file, to read. A folder, a pipe or a device is refused, without waiting for
    // a pipe's writer.
    static int openToRead(const QString& path, File* file);
    // An existing regular file, to read and write in place.
    static int openToUpdate(const QString& path, File* file);
    // A file that did not exist, to write, with the permissions (less the umask). It stays locked
    // (flock) while open, so that a cleaner never takes it for a killed save's leftover.
    static int create(const QString& path, unsigned permissions, File* file);

    bool isOpen() const { return fd_ >= 0; }

    // The whole content from the start; EFBIG when there is more than maxBytes.
    int readAll(qint64 maxBytes, QByteArray* bytes) const;
    // Makes the content these bytes: written from the start in pieces, then the file cut to their
    // length. progress gets the bytes written so far after each piece; false stops the write there
    // (ECANCELED), as a crash or a full disk would.
    using Progress = std::function<bool(qint64 written)>;
    int writeAll(const QByteArray& bytes, const Progress& progress = {});
    int sync();
    // Gives the file the owner and group, then the permissions. False when the owner or group cannot
    // be given (only root may give a file away, and an owner only to one of its own groups).
    bool takeOwner(unsigned owner, unsigned group);
    int setPermissions(unsigned permissions);
    // Closes now, reporting what close() reports (a delayed write error shows up here).
    int close();

private:
    explicit File(int fd) : fd_(fd) {}
    int fd_ = -1;
};

int rename(const QString& from, const QString& to);
// Removes a regular file that no open File holds locked (a file created by a process that has ended);
// EWOULDBLOCK when one does.
int removeUnlessLocked(const QString& path);
int remove(const QString& path);
// So that a rename in the folder survives a power cut; failures are not reported, the content is safe.
void syncFolder(const QString& folder);

} // namespace FileSystem
