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

int waitEither(int first, int second, std::chrono::milliseconds timeout) {
    pollfd p[2] = {{first, POLLIN, 0}, {second, POLLIN, 0}};
    int r = 0;
    do {
        r = ::poll(p, 2, timeoutArgument(timeout));
    } while (r == -1 && errno == EINTR);
    if (r <= 0)
        return -1;
    // The first wins a tie: it is the interruption the callers pass there.
    for (int i = 0; i < 2; ++i) {
        if (p[i].revents & (POLLIN | POLLHUP | POLLERR))
            return i;
    }
    return -1;
}

} // namespace InputPoll
