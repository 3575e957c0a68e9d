#include "cli/InputPoll.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>

namespace InputPoll {

namespace {

int timeoutArgument(std::chrono::milliseconds timeout) {
    if (timeout.count() < 0)
        return -1;
    return static_cast<int>(std::min<long long>(timeout.count(), INT_MAX));
}

} // namespace

Result waitReadable(int fd, std::chrono::milliseconds timeout) {
    pollfd p{fd, POLLIN, 0};
    int r = 0;
    do {
        r = ::poll(&p, 1, timeoutArgument(timeout));
    } while (r == -1 && errno == EINTR);
    if (r == 0)
        return Result::TimedOut;
    if (r == -1 || !(p.revents & POLLIN))
        return Result::Failed;
    return Result::Readable;
}

Woken waitForAny(int wake, int output, int fd, std::chrono::milliseconds timeout) {
    // Events 0 on the output: poll reports only an error or a hang-up there. poll skips a negative fd.
    pollfd p[3] = {{wake, POLLIN, 0}, {output, 0, 0}, {fd, POLLIN, 0}};
    int r = 0;
    do {
        r = ::poll(p, 3, timeoutArgument(timeout));
    } while (r == -1 && errno == EINTR);
    Woken woken;
    if (r <= 0)
        return woken;
    woken.wake = p[0].revents & (POLLIN | POLLHUP | POLLERR);
    woken.outputGone = p[1].revents & (POLLERR | POLLHUP);
    woken.readable = p[2].revents & (POLLIN | POLLHUP | POLLERR);
    return woken;
}

} // namespace InputPoll
