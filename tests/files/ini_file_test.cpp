// The settings-file layer: the INI text as the Windows profile service reads and changes it, and files
// read and replaced whole.
#include "files/IniFile.h"
#include "files/WholeFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

mode_t permissionsOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

} // namespace

TEST(IniFile, ReadsAsTheProfileServiceDoes) {
    // Written on Windows: CR LF, a Cyrillic section in Windows-1251, blanks, quotes, repeats.
    const QByteArray text = "; settings\r\n"
                            "[commsetting]\r\n"
                            "  baudrated = 7  \r\n"
                            "Addr=\"12\"\r\n"
                            "Addr=99\r\n"
                            "Empty=\r\n"
                            "NoEquals\r\n"
                            "[CommSetting]\r\n"
                            "CS=0\r\n"
                            "[\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8]\r\n"         // "Настройки"
                            "\xCA\xEB\xFE\xF7=\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5"; // "Ключ=значение"
    const IniFile file(text);
    struct Case {
        std::string section, key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"CommSetting", "BaudRated", "7"},
        {"COMMSETTING", "addr", "12"}, // quotes off; the first of repeated keys
        {"CommSetting", "Empty", ""},
        {"CommSetting", "NoEquals", std::nullopt},
        {"CommSetting", "CS", std::nullopt}, // only the first of repeated sections counts
        {"Modification", "DateTime", std::nullopt},
        {"\xED\xC0\xD1\xD2\xD0\xCE\xC9\xCA\xC8", "\xEA\xCB\xDE\xD7", "\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5"},
        {"settings", "x", std::nullopt}, // a comment is no section
    };
    for (const Case& c : cases)
        EXPECT_EQ(file.value(c.section, c.key), c.value) << c.section << "/" << c.key;

    // An editor's byte-order mark hides no section.
    EXPECT_EQ(IniFile(QByteArray("\xEF\xBB\xBF[UserSymbols]\n0=1F\n")).value("UserSymbols", "0"), "1F");
}

TEST(IniFile, ChangesOnlyItsOwnKeysAndKeepsEverythingElseByteForByte) {
    const QByteArray before = "; written by hand\r\n"
                              "[Other]\r\n"
                              "key = value ; with a comment\r\n"
                              "\r\n"
                              "[CommSetting]\r\n"
                              "BaudRated = 3\r\n"
                              "Foreign=kept\r\n"
                              "; trailing comment\r\n"
                              "\r\n"
                              "[Last]\r\n"
                              "x=1";
    IniFile file(before);
    file.setValue("COMMSETTING", "baudrated", "5");
    file.setValue("CommSetting", "Addr", "1");
    file.setValue("Modification", "DateTime", "01.02.2024 10:11:12");
    const QByteArray expected = "; written by hand\r\n"
                                "[Other]\r\n"
                                "key = value ; with a comment\r\n"
                                "\r\n"
                                "[CommSetting]\r\n"
                                "BaudRated =5\r\n"
                                "Foreign=kept\r\n"
                                "Addr=1\r\n"
                                "; trailing comment\r\n"
                                "\r\n"
                                "[Last]\r\n"
                                "x=1\r\n"
                                "[Modification]\r\n"
                                "DateTime=01.02.2024 10:11:12\r\n";
    EXPECT_EQ(file.bytes(), expected);
}

TEST(IniFile, AddedLinesTakeTheFilesLineEndAndNoValueStartsALine) {
    IniFile unix(QByteArray("[UserSymbols]\n0=00\n"));
    unix.setValue("UserSymbols", "1", "11");
    EXPECT_EQ(unix.bytes(), QByteArray("[UserSymbols]\n0=00\n1=11\n"));

    // A line break in a value would start a key of its own.
    IniFile injected;
    injected.setValue("S", "k", "a\r\n[S]\nk=b");
    EXPECT_EQ(injected.value("S", "k"), "a  [S] k=b");
}

class WholeFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    // Nothing but the named files: no temporary file left behind.
    QStringList entries() const {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
};

TEST_F(WholeFileTest, ReplacesAndKeepsTheExistingFilesPermissions) {
    const QString file = path("a.tkm");
    writeBytes(file, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    QString reason;
    ASSERT_TRUE(WholeFile::replace(file, "new content", &reason)) << reason.toStdString();
    EXPECT_EQ(fileBytes(file), "new content");
    EXPECT_EQ(permissionsOf(file), 0640u);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("a.tkm")});
}

TEST_F(WholeFileTest, AWriteStoppedHalfWayLeavesTheOldFile) {
    const QString file = path("a.tkm");
    const QByteArray old = "[CommSetting]\r\nBaudRated=5\r\n";
    writeBytes(file, old);
    const QByteArray large(20000, 'x');
    qint64 stoppedAt = 0;
    QString reason;
    EXPECT_FALSE(WholeFile::replace(file, large, &reason, [&](qint64 written) {
        stoppedAt = written;
        return written < large.size() / 2;
    }));
    EXPECT_GT(stoppedAt, 0);
    EXPECT_LT(stoppedAt, large.size());
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(fileBytes(file), old);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("a.tkm")});
}

TEST_F(WholeFileTest, ASymbolicLinkIsFollowed) {
    const QString target = path("target.tkm");
    const QString link = path("link.tkm");
    writeBytes(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_TRUE(WholeFile::replace(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(target), "new");
}

// The failures a dialog choice can meet are in the Setting page's tests; these are the reader's own.
TEST_F(WholeFileTest, AMissingOrOversizedFileIsNotRead) {
    WholeFile::ReadFailure failure;
    EXPECT_FALSE(WholeFile::read(path("none.tkm"), 100, &failure));
    EXPECT_TRUE(failure.missing);
    EXPECT_EQ(failure.reason, QStringLiteral("No such file or directory"));

    writeBytes(path("big.tkm"), QByteArray(101, 'x'));
    EXPECT_FALSE(WholeFile::read(path("big.tkm"), 100, &failure));
    EXPECT_FALSE(failure.missing);
    EXPECT_EQ(failure.reason, QStringLiteral("File too large"));
    EXPECT_EQ(WholeFile::read(path("big.tkm"), 101), QByteArray(101, 'x'));
}
