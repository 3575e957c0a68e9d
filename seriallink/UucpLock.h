#pragma once
// The lock-file convention that serial programs on Linux share (minicom, picocom, cu, ...): while a
// program has a port open, the lock folder (/var/lock, which is /run/lock on current systems) holds a
// file LCK..<device> with the program's PID as ten ASCII digits and a newline. A lock whose process
// is gone is stale and is removed. The device is named by its real node, so every link to it
// (/dev/serial/by-id/...) meets the same lock; a node below /dev/pts gives LCK..pts_<n>.
//
// Where the folder does not let this user create a file, no lock is taken, but a live lock found
// there is still honoured. One instance per port; owner's thread only.
#include "PortHolders.h"

#include <QString>

class UucpLock {
public:
    // folder empty: no lock files are made or honoured.
    explicit UucpLock(QString folder = DefaultFolder());
    ~UucpLock();
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    // A new folder applies from the next Acquire; a lock held now is released.
    void SetFolder(const QString& folder);
    // Takes the lock for the device. 0, or EBUSY when a live process holds the lock (holder says
    // which; its Pid is 0 when the lock file names no process at all).
    int Acquire(const QString& devicePath, PortHolders::Holder& holder);
    // Removes the lock file if this instance made it.
    void Release();
    bool Held() const { return FOwned; }
    // The lock file of the last Acquire.
    QString LockPath() const { return FPath; }

    // /var/lock where it exists, else /run/lock, else none.
    static QString DefaultFolder();
    // LCK..ttyUSB0 for /dev/ttyUSB0; the node's path below /dev with "/" turned into "_".
    static QString LockNameFor(const QString& nodePath);
    // The PID a lock file names: > 0, 0 when the file holds no PID, -1 when it cannot be read.
    static qint64 ReadPid(const QString& lockPath);

private:
    // Creates the lock file atomically (a temporary file linked to its name): 0, EEXIST, or why not.
    int Create();

    QString FFolder;
    QString FPath;
    bool FOwned = false;
};
