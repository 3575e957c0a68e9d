#pragma once
// Another program for the port-ownership tests (by default /bin/sleep 60), optionally holding a
// device open on its standard input. It runs in a process group of its own, with its output going
// nowhere, and the whole group is killed and reaped when the object goes.
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

class ChildProcess {
public:
    // holdOpen: a path the child opens (read and write) as its standard input; empty for none.
    // inherit: a descriptor of ours the child gets as its descriptor 3; -1 for none.
    explicit ChildProcess(const QString& holdOpen = {}, QList<QByteArray> command = {"/bin/sleep", "60"},
                          int inherit = -1) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const QByteArray path = holdOpen.toLocal8Bit();
        if (!holdOpen.isEmpty())
            posix_spawn_file_actions_addopen(&actions, 0, path.constData(), O_RDWR | O_NOCTTY, 0);
        if (inherit != -1)
            posix_spawn_file_actions_adddup2(&actions, inherit, 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        std::vector<char*> argv;
        for (QByteArray& word : command)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&FPid, argv[0], &actions, &attributes, argv.data(), environ) != 0)
            FPid = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        // posix_spawn returns while the child may still carry this program's name.
        const QByteArray name = QFileInfo(QString::fromLocal8Bit(command.first())).fileName().toLocal8Bit();
        const QDeadlineTimer deadline(5000);
        while (FPid > 0 && Name() != name && !deadline.hasExpired())
            QThread::usleep(100);
    }
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return FPid; }
    QByteArray Name() const {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(FPid));
        return comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
    }
    void Stop() {
        if (FPid <= 0)
            return;
        ::kill(-FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
};

// A PID that named a process a moment ago and names none now.
inline pid_t DeadPid() {
    const pid_t pid = ::fork();
    if (pid == 0)
        _exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}
