#include "files/WholeFile.h"

#include "files/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

namespace WholeFile {

namespace {

// A file written in place is read first, so that its content can be written back; a larger one is
// no file of ours.
constexpr qint64 kMostInPlace = 64 * 1024 * 1024;
constexpr int kCopyNameDigits = 8;

bool fail(QString* reason, int error) {
    if (reason)
        *reason = FileSystem::reason(error);
    return false;
}

// The copy's name beside the file: `.<name>.<8 hex digits>~`.
QString copyName(const QString& fileName, quint32 number) {
    return QStringLiteral(".%1.%2~").arg(fileName).arg(number, kCopyNameDigits, 16, QLatin1Char('0'));
}

bool isCopyName(const QString& name, const QString& fileName) {
    const QString prefix = QLatin1Char('.') + fileName + QLatin1Char('.');
    if (name.size() != prefix.size() + kCopyNameDigits + 1 || !name.startsWith(prefix) ||
        !name.endsWith(QLatin1Char('~')))
        return false;
    for (qsizetype i = prefix.size(); i < prefix.size() + kCopyNameDigits; ++i) {
        const QChar c = name[i];
        if (!c.isDigit() && (c < u'a' || c > u'f'))
            return false;
    }
    return true;
}

// The file a save writes: the end of the path's links, whether it exists, and what it is.
int check(const QString& path, QString* target, FileSystem::Facts* facts, bool* exists) {
    if (const int error = FileSystem::followLinks(path, target))
        return error;
    const int error = FileSystem::inspect(*target, facts);
    if (error != 0 && error != ENOENT)
        return error;
    *exists = error == 0;
    if (*exists) {
        if (facts->directory)
            return EISDIR;
        if (!facts->regular)
            return FileSystem::kNotRegular;
        if (const int denied = FileSystem::mayWrite(*target))
            return denied;
    }
    // A save always makes its copy there.
    return FileSystem::mayMakeFilesIn(QFileInfo(*target).path());
}

// Copies that saves killed before their end left beside the file.
void removeLeftovers(const QString& target) {
    const QFileInfo info(target);
    const QDir folder(info.path());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isCopyName(name, info.fileName()))
            FileSystem::removeUnlessLocked(folder.filePath(name));
    }
}

int createCopy(const QString& target, unsigned permissions, QString* copyPath, FileSystem::File* copy) {
    const QFileInfo info(target);
    int error = EEXIST;
    for (int attempt = 0; error == EEXIST && attempt < 100; ++attempt) {
        *copyPath = info.dir().filePath(copyName(info.fileName(), QRandomGenerator::global()->generate()));
        error = FileSystem::File::create(*copyPath, permissions, copy);
    }
    return error;
}

} // namespace

std::optional<QByteArray> read(const QString& path, qint64 maxBytes, ReadFailure* failure) {
    FileSystem::File file;
    int error = FileSystem::File::openToRead(path, &file);
    QByteArray bytes;
    if (error == 0)
        error = file.readAll(maxBytes, &bytes);
    if (error == 0)
        return bytes;
    if (failure) {
        failure->reason = FileSystem::reason(error);
        failure->missing = error == ENOENT;
    }
    return std::nullopt;
}

std::optional<QString> refusal(const QString& path) {
    QString target;
    FileSystem::Facts facts;
    bool exists = false;
    if (const int error = check(path, &target, &facts, &exists))
        return FileSystem::reason(error);
    return std::nullopt;
}

bool replace(const QString& path, const QByteArray& bytes, QString* reason,
             const Interruption& interruption) {
    QString target;
    FileSystem::Facts facts;
    bool exists = false;
    if (const int error = check(path, &target, &facts, &exists))
        return fail(reason, error);
    removeLeftovers(target);

    // The copy lives beside the file, so that the rename stays within one file system. A new file gets
    // the usual permissions (the umask applies); an existing file's are given below.
    QString copyPath;
    FileSystem::File copy;
    if (const int error = createCopy(target, exists ? 0600 : 0666, &copyPath, &copy))
        return fail(reason, error);
    auto removeCopy = [&] {
        copy.close();
        FileSystem::remove(copyPath);
    };
    auto failWithoutCopy = [&](int error) {
        removeCopy();
        return fail(reason, error);
    };

    bool ownerKept = true;
    if (exists) {
        // Owner and group first: changing them may clear the set-id bits that the permissions restore.
        ownerKept = copy.takeOwner(facts.owner, facts.group);
        if (const int error = copy.setPermissions(facts.permissions))
            return failWithoutCopy(error);
    }
    if (const int error = copy.writeAll(bytes, interruption))
        return failWithoutCopy(error);
    if (const int error = copy.sync())
        return failWithoutCopy(error);

    if (!exists || (ownerKept && !facts.otherNames)) {
        // The copy stays open, and so locked, until it has its new name: no cleaner takes it meanwhile.
        if (const int error = FileSystem::rename(copyPath, target))
            return failWithoutCopy(error);
        copy.close();
        FileSystem::syncFolder(QFileInfo(target).path());
        return true;
    }

    // A rename would give the file a new owner or cut its other names: the content goes into the file.
    FileSystem::File file;
    int error = FileSystem::File::openToUpdate(target, &file);
    QByteArray old;
    if (error == 0)
        error = file.readAll(kMostInPlace, &old);
    if (error != 0)
        return failWithoutCopy(error);
    const qint64 copied = bytes.size();
    error =
        file.writeAll(bytes, [&](qint64 written) { return !interruption || interruption(copied + written); });
    if (error == 0)
        error = file.sync();
    if (error == 0) {
        removeCopy();
        return true;
    }
    if (file.writeAll(old) == 0 && file.sync() == 0)
        return failWithoutCopy(error);
    // The old content did not go back either: the complete new content stays beside the file.
    if (reason)
        *reason = QStringLiteral("%1; the file may be incomplete, its new content is in %2")
                      .arg(FileSystem::reason(error), QDir::toNativeSeparators(copyPath));
    return false;
}

} // namespace WholeFile
