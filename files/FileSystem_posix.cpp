#include "files/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace FileSystem {

namespace {

// Small enough that a progress check can stop a write in the middle of even a small file.
constexpr qint64 kPiece = 4096;
// As many links as the system itself follows before it gives up (SYMLOOP_MAX on Linux).
constexpr int kMostLinks = 40;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

} // namespace

QString reason(int error) {
    if (error == kNotRegular)
        return QStringLiteral("Not a regular file");
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not live in the buffer.
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

int followLinks(const QString& path, QString* end) {
    QString at = path;
    for (int hop = 0; hop <= kMostLinks; ++hop) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(native(at).constData(), target, sizeof target);
        if (n == -1) {
            // Not a link (EINVAL), or nothing there yet (ENOENT): this is the end of the chain.
            if (errno != EINVAL && errno != ENOENT)
                return errno;
            *end = at;
            return 0;
        }
        if (n == static_cast<ssize_t>(sizeof target))
            return ENAMETOOLONG;
        const QString next = QFile::decodeName(QByteArray(target, n));
        // A relative target is relative to the link's own folder.
        at = QDir::isAbsolutePath(next) ? next : QFileInfo(at).path() + QLatin1Char('/') + next;
    }
    return ELOOP;
}

int inspect(const QString& path, Facts* facts) {
    struct stat info {};
    if (::lstat(native(path).constData(), &info) == -1)
        return errno;
    facts->regular = S_ISREG(info.st_mode);
    facts->directory = S_ISDIR(info.st_mode);
    facts->otherNames = info.st_nlink > 1;
    facts->owner = info.st_uid;
    facts->group = info.st_gid;
    facts->permissions = info.st_mode & 07777;
    return 0;
}

int mayWrite(const QString& path) {
    return ::faccessat(AT_FDCWD, native(path).constData(), W_OK, AT_EACCESS) == -1 ? errno : 0;
}

int mayMakeFilesIn(const QString& folder) {
    return ::faccessat(AT_FDCWD, native(folder).constData(), W_OK | X_OK, AT_EACCESS) == -1 ? errno : 0;
}

File::~File() {
    if (fd_ >= 0)
        ::close(fd_);
}

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

namespace {

// Opens an existing regular file. Without O_NONBLOCK, opening a pipe would wait for a writer that
// never comes; on a regular file the flag changes nothing.
int openRegular(const QString& path, int access, int* fd) {
    *fd = ::open(native(path).constData(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (*fd == -1)
        return errno;
    struct stat info {};
    const int error = ::fstat(*fd, &info) == -1 ? errno
                      : S_ISDIR(info.st_mode)   ? EISDIR
                      : !S_ISREG(info.st_mode)  ? kNotRegular
                                                : 0;
    if (error != 0)
        ::close(std::exchange(*fd, -1));
    return error;
}

} // namespace

int File::openToRead(const QString& path, File* file) {
    int fd = -1;
    if (const int error = openRegular(path, O_RDONLY, &fd))
        return error;
    *file = File(fd);
    return 0;
}

int File::openToUpdate(const QString& path, File* file) {
    int fd = -1;
    if (const int error = openRegular(path, O_RDWR, &fd))
        return error;
    *file = File(fd);
    return 0;
}

int File::create(const QString& path, unsigned permissions, File* file) {
    const int fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
    if (fd == -1)
        return errno;
    *file = File(fd);
    // A new file no one else has open: the lock is free. Where the file system has no locks the
    // cleaner cannot take any either, and leaves every leftover alone.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    return 0;
}

int File::readAll(qint64 maxBytes, QByteArray* bytes) const {
    bytes->clear();
    char buffer[kPiece];
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer, bytes->size());
        if (n == -1) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        if (bytes->size() + n > maxBytes)
            return EFBIG;
        bytes->append(buffer, n);
    }
}

int File::writeAll(const QByteArray& bytes, const Progress& progress) {
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 piece = std::min(kPiece, bytes.size() - written);
        const ssize_t n = ::pwrite(fd_, bytes.constData() + written, static_cast<size_t>(piece), written);
        if (n == -1) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        written += n;
        if (progress && !progress(written))
            return ECANCELED;
    }
    return ::ftruncate(fd_, bytes.size()) == -1 ? errno : 0;
}

int File::sync() {
    return ::fsync(fd_) == -1 ? errno : 0;
}

bool File::takeOwner(unsigned owner, unsigned group) {
    return ::fchown(fd_, owner, group) == 0;
}

int File::setPermissions(unsigned permissions) {
    return ::fchmod(fd_, permissions) == -1 ? errno : 0;
}

int File::close() {
    return ::close(std::exchange(fd_, -1)) == -1 ? errno : 0;
}

int rename(const QString& from, const QString& to) {
    return ::rename(native(from).constData(), native(to).constData()) == -1 ? errno : 0;
}

int removeUnlessLocked(const QString& path) {
    // O_NOFOLLOW: a link with such a name is no leftover of ours.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd == -1)
        return errno;
    struct stat info {};
    // Removed while locked here, so that no save can take it up in between.
    const int error = ::fstat(fd, &info) == -1               ? errno
                      : !S_ISREG(info.st_mode)               ? kNotRegular
                      : ::flock(fd, LOCK_EX | LOCK_NB) == -1 ? errno
                                                             : remove(path);
    ::close(fd);
    return error;
}

int remove(const QString& path) {
    return ::unlink(native(path).constData()) == -1 ? errno : 0;
}

void syncFolder(const QString& folder) {
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == -1)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace FileSystem
