// The remembered connection file: what goes in comes out, anything else counts as nothing, and a
// file is replaced whole or not at all.
#include "app/RememberedChoices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Connection = RememberedChoices::Connection;

class Remembered : public ::testing::Test {
protected:
    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(choices.filePath().section(u'/', 0, -2));
        QFile file(choices.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray fileBytes() const {
        QFile file(choices.filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir root;
    RememberedChoices choices{root.filePath(QStringLiteral("config/tkm9214-utility"))};
};

TEST_F(Remembered, WhatIsSavedIsLoaded) {
    EXPECT_FALSE(choices.load()); // nothing yet, not even the folder
    for (const Connection& c : {Connection{QStringLiteral("/dev/ttyUSB0"), 19200, true},
                                Connection{QStringLiteral("TKM-9214 simulator"), 9600},
                                Connection{QStringLiteral("/tmp/link with blanks=and equals"), 300}}) {
        ASSERT_TRUE(choices.save(c));
        EXPECT_EQ(choices.load(), c);
    }
    EXPECT_EQ(fileBytes(),
              QByteArray("[Connection]\nPort=/tmp/link with blanks=and equals\nBaudRate=300\nRs485=false\n"));
    // A file written before RS-485 was remembered: off.
    writeFile("[Connection]\nPort=/dev/ttyS0\nBaudRate=9600\n");
    EXPECT_EQ(choices.load(), (Connection{QStringLiteral("/dev/ttyS0"), 9600, false}));
    // The folder holds the file alone: no temporary file is left behind.
    EXPECT_EQ(QDir(choices.filePath().section(u'/', 0, -2)).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("connection.conf")});
}

TEST_F(Remembered, FilesThatMakeNoSenseCountAsNothing) {
    const QByteArray cases[] = {
        "",
        "garbage\n\x01\x02",
        "[Connection]\nPort=/dev/ttyUSB0\n",
        "[Connection]\nBaudRate=9600\n",
        "[Connection]\nPort=/dev/ttyUSB0\nBaudRate=fast\n",
        "[Connection]\nPort=/dev/ttyUSB0\nBaudRate=-9600\n",
        "[Connection]\nPort=\nBaudRate=9600\n",
        QByteArray(70000, 'x'),
    };
    for (const QByteArray& bytes : cases) {
        writeFile(bytes);
        EXPECT_FALSE(choices.load()) << bytes.left(60).toStdString();
    }
}

TEST_F(Remembered, AFailedSaveKeepsWhatWasThere) {
    ASSERT_TRUE(choices.save({QStringLiteral("/dev/ttyS0"), 4800}));
    const QByteArray before = fileBytes();
    EXPECT_FALSE(choices.save({QStringLiteral("/dev/tty\nS1"), 9600}));
    EXPECT_FALSE(choices.save({QString(), 9600}));
    EXPECT_EQ(fileBytes(), before);

    // A folder that cannot be made: a file stands where it should be.
    QFile blocker(root.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(RememberedChoices(root.filePath(QStringLiteral("blocked/sub")))
                     .save({QStringLiteral("/dev/ttyS0"), 9600}));
}

TEST_F(Remembered, DefaultFolderFollowsXdgConfigHome) {
    const QByteArray kept = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", root.path().toLocal8Bit());
    const QString folder = RememberedChoices::defaultFolder();
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", kept);
    else
        qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(folder, root.path() + QStringLiteral("/tkm9214-utility"));
}

} // namespace
