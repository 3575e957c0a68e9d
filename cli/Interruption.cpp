#include "cli/Interruption.h"

#include "cli/InputPoll.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

std::atomic<bool> gRequested{false};
int gWakeRead = -1;
int gWakeWrite = -1;
struct sigaction gOldInt {};
struct sigaction gOldTerm {};

void onSignal(int) {
    const int saved = errno;
    gRequested.store(true);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(gWakeWrite, &byte, 1);
    errno = saved;
}

} // namespace

Interruption::Interruption() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == -1)
        throw std::runtime_error("Interruption: no pipe");
    gWakeRead = fds[0];
    gWakeWrite = fds[1];
    gRequested.store(false);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &gOldInt);
    ::sigaction(SIGTERM, &action, &gOldTerm);
}

Interruption::~Interruption() {
    ::sigaction(SIGINT, &gOldInt, nullptr);
    ::sigaction(SIGTERM, &gOldTerm, nullptr);
    ::close(gWakeRead);
    ::close(gWakeWrite);
    gWakeRead = gWakeWrite = -1;
}

bool Interruption::requested() const {
    return gRequested.load();
}

bool Interruption::sleep(std::chrono::milliseconds time) const {
    if (requested())
        return true;
    InputPoll::waitReadable(gWakeRead, time);
    return requested();
}

std::optional<std::string> Interruption::readLine(int fd) const {
    std::string line;
    for (;;) {
        if (requested() || InputPoll::waitEither(gWakeRead, fd, std::chrono::milliseconds(-1)) != 1)
            return std::nullopt;
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n == -1 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return std::nullopt;
        if (c == '\n')
            return line;
        line += c;
    }
}
