#include "files/WholeFile.h"

#include "seriallink/SystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <tuple>
#include <utility>

namespace WholeFile {

namespace {

// Small enough that an interruption can stop a write in the middle of even a small file.
constexpr qint64 kPiece = 4096;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, reporting what close() reports (a delayed write error shows up here).
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

// Stands for "not a regular file", which the system has no error number of its own for.
constexpr int kNotRegular = -1;

QString reasonText(int error) {
    return error == kNotRegular ? QStringLiteral("Not a regular file") : SystemError::Message(error);
}

void setReason(QString* reason, int error) {
    if (reason)
        *reason = reasonText(error);
}

// The file a path names: symbolic links followed, also when the target does not exist yet.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    if (info.isSymLink())
        return info.symLinkTarget();
    return info.absoluteFilePath();
}

bool writeAll(int fd, const QByteArray& bytes, const Interruption& interruption, int* error) {
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 piece = std::min(kPiece, bytes.size() - written);
        const ssize_t n = ::write(fd, bytes.constData() + written, static_cast<size_t>(piece));
        if (n == -1) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        written += n;
        if (interruption && !interruption(written)) {
            *error = ECANCELED;
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<QByteArray> read(const QString& path, qint64 maxBytes, ReadFailure* failure) {
    auto fail = [failure](int error) -> std::optional<QByteArray> {
        if (failure) {
            failure->reason = reasonText(error);
            failure->missing = error == ENOENT;
        }
        return std::nullopt;
    };
    // Without O_NONBLOCK, opening a pipe would wait for a writer that never comes.
    Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() == -1)
        return fail(errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) == -1)
        return fail(errno);
    if (S_ISDIR(info.st_mode))
        return fail(EISDIR);
    if (!S_ISREG(info.st_mode))
        return fail(kNotRegular);
    QByteArray bytes;
    char buffer[kPiece];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == -1) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            return bytes;
        if (bytes.size() + n > maxBytes)
            return fail(EFBIG);
        bytes.append(buffer, n);
    }
}

bool replace(const QString& path, const QByteArray& bytes, QString* reason,
             const Interruption& interruption) {
    const QString target = resolvedTarget(path);
    const QByteArray nativeTarget = QFile::encodeName(target);
    struct stat existing {};
    const bool exists = ::stat(nativeTarget.constData(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        setReason(reason, errno);
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        setReason(reason, S_ISDIR(existing.st_mode) ? EISDIR : kNotRegular);
        return false;
    }

    // The temporary file lives beside the target, so that the rename stays within one file system.
    const QFileInfo targetInfo(target);
    QByteArray temporary;
    int created = -1;
    for (int attempt = 0; created == -1 && attempt < 100; ++attempt) {
        const QString name = QStringLiteral("%1/.%2.%3~")
                                 .arg(targetInfo.absolutePath(), targetInfo.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        temporary = QFile::encodeName(name);
        // A new file gets the usual permissions (the umask applies); an existing file's are set below.
        created =
            ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (created == -1 && errno != EEXIST)
            break;
    }
    if (created == -1) {
        setReason(reason, errno);
        return false;
    }
    Descriptor fd(created);
    auto fail = [&](int error) {
        if (fd.get() >= 0)
            fd.close();
        ::unlink(temporary.constData());
        setReason(reason, error);
        return false;
    };

    if (exists) {
        // Owner and group first: changing them may clear the set-id bits that the mode then restores.
        // Only the owner or root may change them, and a file of another owner is still replaced.
        std::ignore = ::fchown(fd.get(), existing.st_uid, existing.st_gid);
        if (::fchmod(fd.get(), existing.st_mode & 07777) == -1)
            return fail(errno);
    }
    int error = 0;
    if (!writeAll(fd.get(), bytes, interruption, &error))
        return fail(error);
    if (::fsync(fd.get()) == -1)
        return fail(errno);
    if (!fd.close())
        return fail(errno);
    if (::rename(temporary.constData(), nativeTarget.constData()) == -1)
        return fail(errno);
    // The rename itself reaches the disk with the folder; a failure here loses nothing already written.
    Descriptor folder(
        ::open(QFile::encodeName(targetInfo.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        std::ignore = ::fsync(folder.get());
    return true;
}

} // namespace WholeFile
