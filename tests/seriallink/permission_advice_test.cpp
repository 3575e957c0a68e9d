// The advice given when opening a device node is refused for lack of permission.
#include "DevicePermissions.h"
#include "SystemError.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A group other than root for the node: as root the node is handed to dialout (or nogroup), as any
// other user it keeps the user's own group.
gid_t NodeGroup() {
    if (::geteuid() != 0)
        return ::getegid();
    const group* dialout = ::getgrnam("dialout");
    return dialout ? dialout->gr_gid : 65534;
}

QString MakeNode(const QTemporaryDir& dir, const char* name, mode_t mode, uid_t owner, gid_t group) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.close();
    const QByteArray p = path.toLocal8Bit();
    if (::geteuid() == 0 && ::chown(p.constData(), owner, group) != 0)
        return {};
    ::chmod(p.constData(), mode);
    return path;
}

TEST(PermissionAdvice, AGroupIsNamedOnlyWhereItsBitsLetTheUserIn) {
    QTemporaryDir dir;
    const gid_t gid = NodeGroup();
    const QString group = DevicePermissions::GroupName(gid);
    struct Case {
        mode_t mode;
        bool listedInGroup; // in the group database, but not in this session
        const char* expected;
        bool namesGroup;
    };
    const Case cases[] = {
        {0660, false, "add your user to that group", true},
        {0660, true, "log out and in again", true},
        {0600, false, "udev rule", false},
        {0640, false, "udev rule", false}, // the group may only read
        {0606, false, "udev rule", false},
    };
    for (const Case& c : cases) {
        const QString path = MakeNode(dir, "node", c.mode, ::geteuid(), gid);
        ASSERT_FALSE(path.isEmpty());
        DevicePermissions::Identity stranger;
        stranger.Uid = ::geteuid() + 4242; // not the owner, not in the node's group
        stranger.Groups = {static_cast<gid_t>(gid + 4242)};
        if (c.listedInGroup)
            stranger.ListedGroups = {gid};
        const QString advice = DevicePermissions::Advice(path, stranger);
        SCOPED_TRACE(QStringLiteral("mode %1: %2").arg(c.mode, 0, 8).arg(advice).toStdString());
        EXPECT_TRUE(advice.contains(QString::fromLatin1(c.expected)));
        EXPECT_EQ(advice.contains(QStringLiteral("group \"") + group + QLatin1Char('"')), c.namesGroup);
        QFile::remove(path);
    }
}

TEST(PermissionAdvice, GroupRootIsNeverOffered) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can hand a file to group root";
    QTemporaryDir dir;
    const QString path = MakeNode(dir, "node", 0660, 0, 0);
    DevicePermissions::Identity stranger;
    stranger.Uid = 4242;
    stranger.Groups = {4242};
    const QString advice = DevicePermissions::Advice(path, stranger);
    EXPECT_FALSE(advice.contains(QStringLiteral("\"root\""))) << advice.toStdString();
    EXPECT_TRUE(advice.contains(QStringLiteral("root:root, mode 0660"))) << advice.toStdString();
}

TEST(PermissionAdvice, OtherFailuresKeepTheirOwnAdvice) {
    const QString path = QStringLiteral("/dev/ttyUSB99");
    EXPECT_TRUE(SystemError::OpenFailureText(EBUSY, path).contains(QStringLiteral("another program")));
    EXPECT_EQ(SystemError::OpenFailureText(EBUSY, path, QStringLiteral("Held by x.")),
              SystemError::Message(EBUSY) + QStringLiteral(". Held by x."));
    EXPECT_TRUE(SystemError::OpenFailureText(ENOENT, path).contains(QStringLiteral("not present")));
}

// The real thing: an unprivileged user's open fails, and the text of that failure is checked.
TEST(PermissionAdvice, RefusedOpenOfAnUnprivilegedUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to become an unprivileged user";
    QTemporaryDir dir;
    ::chmod(dir.path().toLocal8Bit().constData(), 0755);
    const QString rootOnly = MakeNode(dir, "root-only", 0600, 0, 0);
    const QString dialout = MakeNode(dir, "dialout", 0660, 0, NodeGroup());
    const QString group = DevicePermissions::GroupName(NodeGroup());
    auto openAsNobody = [](const QString& path) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return QString();
        const QByteArray p = path.toLocal8Bit();
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeFds[0]);
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                _exit(2);
            const int fd = ::open(p.constData(), O_RDWR | O_NOCTTY);
            const QByteArray text = fd == -1 ? SystemError::OpenFailureText(errno, path).toUtf8() : "opened";
            [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], text.constData(), text.size());
            _exit(0);
        }
        ::close(pipeFds[1]);
        QByteArray text;
        char buffer[1024];
        for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        ::close(pipeFds[0]);
        ::waitpid(child, nullptr, 0);
        return QString::fromUtf8(text);
    };
    const QString refused = openAsNobody(rootOnly);
    EXPECT_TRUE(refused.startsWith(QStringLiteral("Permission denied."))) << refused.toStdString();
    EXPECT_TRUE(refused.contains(QStringLiteral("udev rule"))) << refused.toStdString();
    EXPECT_FALSE(refused.contains(QStringLiteral("group \"root\""))) << refused.toStdString();

    const QString joinable = openAsNobody(dialout);
    EXPECT_TRUE(joinable.contains(QStringLiteral("usermod -aG ") + group)) << joinable.toStdString();
}

} // namespace
