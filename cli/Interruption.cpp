#include "cli/Interruption.h"

#include "cli/InputPoll.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> gSignal{0};
int gWakeRead = -1;
int gWakeWrite = -1;
struct sigaction gOld[std::size(kSignals)]{};

void onSignal(int number) {
    const int saved = errno;
    int none = 0;
    gSignal.compare_exchange_strong(none, number); // the first one tells
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(gWakeWrite, &byte, 1);
    errno = saved;
}

} // namespace

Interruption::Interruption(int output) : output_(::fcntl(output, F_GETFD) == -1 ? -1 : output) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == -1)
        throw std::runtime_error("Interruption: no pipe");
    gWakeRead = fds[0];
    gWakeWrite = fds[1];
    gSignal.store(0);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &gOld[i]);
}

Interruption::~Interruption() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &gOld[i], nullptr);
    ::close(gWakeRead);
    ::close(gWakeWrite);
    gWakeRead = gWakeWrite = -1;
}

bool Interruption::requested() const {
    return gSignal.load() != 0;
}

int Interruption::signal() const {
    return gSignal.load();
}

bool Interruption::wait(int fd, std::chrono::milliseconds timeout) const {
    const InputPoll::Woken woken = InputPoll::waitForAny(gWakeRead, output_, fd, timeout);
    if (woken.outputGone) {
        int none = 0;
        gSignal.compare_exchange_strong(none, SIGPIPE);
    }
    return !requested() && woken.readable;
}

bool Interruption::sleep(std::chrono::milliseconds time) const {
    if (requested())
        return true;
    const auto until = std::chrono::steady_clock::now() + time;
    // The wake pipe is not drained: once woken, every later wait ends at once.
    while (!requested()) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        wait(-1, left);
    }
    return requested();
}

std::optional<std::string> Interruption::readLine(int fd) const {
    std::string line;
    for (;;) {
        if (requested() || !wait(fd, std::chrono::milliseconds(-1))) {
            if (requested())
                return std::nullopt;
            continue;
        }
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
