#include "DevicePermissions.h"

#include <QFileInfo>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

DevicePermissions::Identity DevicePermissions::Current() {
    Identity who;
    who.Uid = ::geteuid();
    const int n = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(qMax(n, 0)));
    if (n > 0 && ::getgroups(n, groups.data()) == n)
        who.Groups = QList<gid_t>(groups.begin(), groups.end());
    who.Groups.append(::getegid());

    passwd pw{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(who.Uid, &pw, buffer, sizeof buffer, &found) == 0 && found) {
        int count = 64;
        std::vector<gid_t> listed(static_cast<size_t>(count));
        if (::getgrouplist(found->pw_name, found->pw_gid, listed.data(), &count) == -1) {
            listed.resize(static_cast<size_t>(count));
            ::getgrouplist(found->pw_name, found->pw_gid, listed.data(), &count);
        }
        listed.resize(static_cast<size_t>(qMax(count, 0)));
        who.ListedGroups = QList<gid_t>(listed.begin(), listed.end());
    }
    return who;
}

QString DevicePermissions::GroupName(gid_t gid) {
    group grp{};
    group* found = nullptr;
    char buffer[4096];
    if (::getgrgid_r(gid, &grp, buffer, sizeof buffer, &found) != 0 || !found)
        return QString::number(gid);
    return QString::fromLocal8Bit(found->gr_name);
}

QString DevicePermissions::UserName(uid_t uid) {
    passwd pw{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &pw, buffer, sizeof buffer, &found) != 0 || !found)
        return QString::number(uid);
    return QString::fromLocal8Bit(found->pw_name);
}

QString DevicePermissions::Advice(const QString& devicePath) {
    return Advice(devicePath, Current());
}

QString DevicePermissions::Advice(const QString& devicePath, const Identity& who) {
    struct stat st {};
    if (::stat(devicePath.toLocal8Bit().constData(), &st) == -1)
        return QStringLiteral(" You may not open %1.").arg(devicePath);
    const QString group = GroupName(st.st_gid);
    // A serial port is read and written, so a class of users needs both bits. Group root is no
    // group to join for a port: that would hand out far more than the port.
    const bool groupGrants = (st.st_mode & 0060) == 0060 && st.st_gid != 0;
    if (groupGrants && !who.Groups.contains(st.st_gid)) {
        if (who.ListedGroups.contains(st.st_gid))
            return QStringLiteral(" You are in group \"%1\", which may use %2, but this session began "
                                  "before you were added: log out and in again.")
                .arg(group, devicePath);
        return QStringLiteral(" %1 belongs to group \"%2\": add your user to that group "
                              "(sudo usermod -aG %2 $USER), then log out and in again.")
            .arg(devicePath, group);
    }
    const QString kernelName = QFileInfo(QFileInfo(devicePath).canonicalFilePath()).fileName();
    return QStringLiteral(" The permissions of %1 (%2:%3, mode %4) do not let your user open it. A udev "
                          "rule can give it to a group you join, e.g. a file "
                          "/etc/udev/rules.d/50-serial.rules holding SUBSYSTEM==\"tty\", KERNEL==\"%5\", "
                          "GROUP=\"dialout\", MODE=\"0660\"; then add your user to that group (sudo "
                          "usermod -aG dialout $USER), log out and in again and plug the device in again.")
        .arg(devicePath, UserName(st.st_uid), group,
             QStringLiteral("0%1").arg(st.st_mode & 07777, 3, 8, QLatin1Char('0')),
             kernelName.isEmpty() ? QFileInfo(devicePath).fileName() : kernelName);
}
