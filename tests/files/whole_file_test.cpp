// Saves that respect the file they replace: refused where the user may not write, in place where a
// rename would give the file away or cut its other names, through chains of links, and cleaning up
// after killed saves.
#include "AsOrdinaryUser.h"

#include "files/FileSystem.h"
#include "files/TkmSave.h"
#include "files/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

struct stat statusOf(const QString& path) {
    struct stat info {};
    ::lstat(native(path).constData(), &info);
    return info;
}

class WholeFileRules : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        // An ordinary user may make files here, as in a shared folder.
        ASSERT_EQ(::chmod(native(folder.path()).constData(), 0777), 0);
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void make(const char* name, const QByteArray& bytes, mode_t mode, uid_t owner = ::geteuid(),
              gid_t group = ::getegid()) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        ASSERT_EQ(::chown(native(path(name)).constData(), owner, group), 0);
        ASSERT_EQ(::chmod(native(path(name)).constData(), mode), 0);
    }
    QByteArray bytes(const char* name) const {
        return WholeFile::read(path(name), 1 << 20).value_or("(none)");
    }
    QStringList entries() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    // replace() as an ordinary user: "ok", or the reason it gave.
    static QByteArray saveAsOrdinaryUser(const QString& file, const QByteArray& content) {
        return AsOrdinaryUser([&] {
            QString reason;
            return WholeFile::replace(file, content, &reason) ? QByteArray("ok") : reason.toUtf8();
        });
    }

    QTemporaryDir folder;
};

TEST_F(WholeFileRules, AFileTheUserMayNotWriteIsRefusedAndNothingChanges) {
    const std::optional<OrdinaryUser> user = OrdinaryUser::toBecome();
    const uid_t owner = user ? user->uid : ::geteuid();
    const gid_t group = user ? user->gid : ::getegid();
    make("protected.tkm", "[CommSetting]\r\nAddr=1\r\n", 0444, owner, group);
    EXPECT_EQ(saveAsOrdinaryUser(path("protected.tkm"), "new"), "Permission denied");
    // The save's own check says so before anything is written, as the window asks it first.
    EXPECT_EQ(AsOrdinaryUser([&] {
                  QString reason;
                  return TkmSave::open(path("protected.tkm"), &reason) ? QByteArray("opened")
                                                                       : reason.toUtf8();
              }),
              "Permission denied");
    EXPECT_EQ(bytes("protected.tkm"), "[CommSetting]\r\nAddr=1\r\n");
    EXPECT_EQ(statusOf(path("protected.tkm")).st_mode & 07777, 0444u);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("protected.tkm")});
}

TEST_F(WholeFileRules, AFileOfAnotherOwnerOrGroupKeepsThemAndIsWrittenOnlyWhereItMayBe) {
    const std::optional<OrdinaryUser> user = OrdinaryUser::toBecome();
    if (!user)
        GTEST_SKIP() << "files of another owner need root to be made (and the tests to drop to nobody)";
    make("shared.tkm", "old shared", 0666, 0, 0);     // root's, writable by all
    make("ours.tkm", "old ours", 0664, user->uid, 0); // nobody's, in root's group
    make("foreign.tkm", "old foreign", 0644, 0, 0);   // root's, not writable by others
    make("given.tkm", "old given", 0640, user->uid, user->gid);
    const ino_t sharedFile = statusOf(path("shared.tkm")).st_ino;
    const ino_t oursFile = statusOf(path("ours.tkm")).st_ino;

    EXPECT_EQ(saveAsOrdinaryUser(path("shared.tkm"), "new shared"), "ok");
    EXPECT_EQ(saveAsOrdinaryUser(path("ours.tkm"), "new ours"), "ok");
    EXPECT_EQ(saveAsOrdinaryUser(path("foreign.tkm"), "new foreign"), "Permission denied");
    // Root may give the replacing file the owner and group: the rename keeps them.
    ASSERT_TRUE(WholeFile::replace(path("given.tkm"), "new given"));

    EXPECT_EQ(bytes("shared.tkm"), "new shared");
    EXPECT_EQ(statusOf(path("shared.tkm")).st_uid, 0u);
    EXPECT_EQ(statusOf(path("shared.tkm")).st_ino, sharedFile) << "written in place";
    EXPECT_EQ(bytes("ours.tkm"), "new ours");
    EXPECT_EQ(statusOf(path("ours.tkm")).st_gid, 0u);
    EXPECT_EQ(statusOf(path("ours.tkm")).st_ino, oursFile);
    EXPECT_EQ(bytes("foreign.tkm"), "old foreign");
    EXPECT_EQ(bytes("given.tkm"), "new given");
    EXPECT_EQ(statusOf(path("given.tkm")).st_uid, user->uid);
    EXPECT_EQ(statusOf(path("given.tkm")).st_gid, user->gid);
    EXPECT_EQ(statusOf(path("given.tkm")).st_mode & 07777, 0640u);
    EXPECT_EQ(entries().size(), 4) << entries().join(u' ').toStdString();

    // A file the user may write, in a folder where the user may not make the complete copy first.
    ASSERT_EQ(::mkdir(native(path("closed")).constData(), 0755), 0);
    make("closed/open.tkm", "old", 0666, 0, 0);
    EXPECT_EQ(saveAsOrdinaryUser(path("closed/open.tkm"), "new"), "Permission denied");
    EXPECT_EQ(bytes("closed/open.tkm"), "old");
}

TEST_F(WholeFileRules, HardLinksAreKeptAndAFailedWriteInPlacePutsTheOldContentBack) {
    make("a.tkm", "first content", 0640);
    ASSERT_EQ(::link(native(path("a.tkm")).constData(), native(path("b.tkm")).constData()), 0);
    QString reason;
    ASSERT_TRUE(WholeFile::replace(path("b.tkm"), "second", &reason)) << reason.toStdString();
    EXPECT_EQ(bytes("a.tkm"), "second");
    EXPECT_EQ(statusOf(path("a.tkm")).st_ino, statusOf(path("b.tkm")).st_ino);
    EXPECT_EQ(statusOf(path("a.tkm")).st_nlink, 2u);

    // Stopped after the complete copy, in the middle of the file itself (pieces of 4096 bytes).
    const QByteArray large(10000, 'x');
    qint64 stoppedAt = 0;
    EXPECT_FALSE(WholeFile::replace(path("a.tkm"), large, &reason, [&](qint64 written) {
        stoppedAt = written;
        return written <= large.size() + 4096;
    }));
    EXPECT_EQ(stoppedAt, large.size() + 8192);
    EXPECT_EQ(reason, QStringLiteral("Operation canceled"));
    EXPECT_EQ(bytes("b.tkm"), "second");
    EXPECT_EQ(statusOf(path("a.tkm")).st_nlink, 2u);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a.tkm"), QStringLiteral("b.tkm")}));
}

TEST_F(WholeFileRules, AChainOfLinksIsFollowedToItsEndAndALoopIsRefused) {
    // first -> second (relative) -> sub/end.tkm, which does not exist yet.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    ASSERT_EQ(::symlink("sub/end.tkm", native(path("second")).constData()), 0);
    ASSERT_EQ(::symlink(native(path("second")).constData(), native(path("first")).constData()), 0);
    QString reason;
    ASSERT_TRUE(WholeFile::replace(path("first"), "made", &reason)) << reason.toStdString();
    EXPECT_TRUE(S_ISLNK(statusOf(path("first")).st_mode));
    EXPECT_TRUE(S_ISLNK(statusOf(path("second")).st_mode));
    EXPECT_EQ(bytes("sub/end.tkm"), "made");
    ASSERT_TRUE(WholeFile::replace(path("first"), "again", &reason)) << reason.toStdString();
    EXPECT_EQ(bytes("sub/end.tkm"), "again");
    EXPECT_TRUE(S_ISLNK(statusOf(path("second")).st_mode));

    ASSERT_EQ(::symlink("round2", native(path("round1")).constData()), 0);
    ASSERT_EQ(::symlink("round1", native(path("round2")).constData()), 0);
    EXPECT_FALSE(WholeFile::replace(path("round1"), "never", &reason));
    EXPECT_EQ(reason, QStringLiteral("Too many levels of symbolic links"));
    EXPECT_EQ(WholeFile::refusal(path("round1")), reason);
    EXPECT_EQ(entries().size(), 5);
}

TEST_F(WholeFileRules, CopiesLeftByKilledSavesGoWithTheNextSaveButARunningSavesCopyStays) {
    make("a.tkm", "old", 0644);
    for (const char* name : {".a.tkm.0123abcd~", ".a.tkm.89efcdab~", ".a.tkm.keep~", ".a.tkm.0123ABCD~",
                             ".b.tkm.0123abcd~", "a.tkm.0123abcd~"})
        make(name, "left", 0600);
    // A save that runs meanwhile holds its copy open.
    FileSystem::File running;
    ASSERT_EQ(FileSystem::File::create(path(".a.tkm.77777777~"), 0600, &running), 0);

    ASSERT_TRUE(WholeFile::replace(path("a.tkm"), "new"));
    EXPECT_EQ(bytes("a.tkm"), "new");
    QStringList left = entries();
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral(".a.tkm.0123ABCD~"), QStringLiteral(".a.tkm.77777777~"),
                                 QStringLiteral(".a.tkm.keep~"), QStringLiteral(".b.tkm.0123abcd~"),
                                 QStringLiteral("a.tkm"), QStringLiteral("a.tkm.0123abcd~")}));
}

TEST(TkmSave, TextTheIniLayerCannotReadIsNotWrittenInto) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("s.tkm"));
    struct Case {
        QByteArray text;
        const char* reason;
    };
    const Case cases[] = {
        {QByteArray("\xFF\xFE[\0C\0", 6),
         "The file is UTF-16 text; .tkm files are 8-bit text (Windows-1251 or ASCII)"},
        {QByteArray("[\0C\0o\0", 6), "The file holds NUL bytes: it is UTF-16 text or no text at all"},
        {"[CommSetting]\rAddr=5\r", "The file's lines end in CR alone; .tkm files end them in CR LF or LF"},
        {"[CommSetting]\r\nAddr=5\rCS=1\r\n",
         "The file's lines end in CR alone; .tkm files end them in CR LF or LF"},
    };
    for (const Case& c : cases) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.text);
        f.close();
        QString reason;
        EXPECT_FALSE(TkmSave::open(file, &reason)) << c.reason;
        EXPECT_EQ(reason, QString::fromLatin1(c.reason));
        EXPECT_EQ(WholeFile::read(file, 100), c.text);
    }
}

} // namespace
