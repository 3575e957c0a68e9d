#pragma once
// Work done as an ordinary user, so that the file rules are seen as such a user sees them even where
// the tests run as root (here and in CI): in a child process that has dropped to the user "nobody".
// Run by a user without root, the work runs in this process, which is an ordinary user already.
#include <QByteArray>

#include <functional>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

struct OrdinaryUser {
    uid_t uid;
    gid_t gid;

    // The user "nobody" when this process may become it (root), nothing otherwise.
    static std::optional<OrdinaryUser> toBecome() {
        if (::geteuid() != 0)
            return std::nullopt;
        const passwd* nobody = ::getpwnam("nobody");
        return nobody ? OrdinaryUser{nobody->pw_uid, nobody->pw_gid} : OrdinaryUser{65534, 65534};
    }
};

// What work returns, from a child that became `user` (or from this process when it is not root).
// The child ends with _exit, so that nothing of the test program runs twice.
inline QByteArray AsOrdinaryUser(const std::function<QByteArray()>& work) {
    const std::optional<OrdinaryUser> user = OrdinaryUser::toBecome();
    if (!user)
        return work();
    int ends[2];
    if (::pipe(ends) != 0)
        return "(no pipe)";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(user->gid) != 0 || ::setuid(user->uid) != 0)
            ::_exit(1);
        const QByteArray result = work();
        const bool sent = ::write(ends[1], result.constData(), result.size()) == result.size();
        ::_exit(sent ? 0 : 1);
    }
    ::close(ends[1]);
    QByteArray result;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(ends[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, n);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : QByteArray("(the child failed)");
}
