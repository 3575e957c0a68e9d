#pragma once
// What to tell a user whose open of a device node was refused for lack of permission. Joining the
// node's group is advised only where that group's permission bits would let the user in (dialout,
// uucp, plugdev, ...); a node only its owner may use (root:root 0600) needs its permissions changed,
// which a udev rule does. Reads the node's owner and mode and the user and group databases; any thread.
#include <QList>
#include <QString>
#include <sys/types.h>

class DevicePermissions {
public:
    struct Identity {
        uid_t Uid = 0;
        QList<gid_t> Groups; // the groups the process runs with, primary included
        // The user's groups in the group database, which may hold groups this session lacks.
        QList<gid_t> ListedGroups;
    };
    static Identity Current();

    // One or two sentences, each starting with a space, for the text of a failed open.
    static QString Advice(const QString& devicePath);
    static QString Advice(const QString& devicePath, const Identity& who);
    // The group's name, or its number when it has none.
    static QString GroupName(gid_t gid);
    static QString UserName(uid_t uid);
};
