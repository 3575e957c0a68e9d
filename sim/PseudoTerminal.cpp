#include "sim/PseudoTerminal.h"

#include "sim/RawLine.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tkm::sim {

namespace {
std::string failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}
} // namespace

PseudoTerminal::~PseudoTerminal() {
    close();
}

std::string PseudoTerminal::open(int baudRate) {
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ == -1)
        return failure("posix_openpt");
    char name[128];
    if (::grantpt(master_) == -1 || ::unlockpt(master_) == -1 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        const std::string error = failure("pseudo-terminal slave");
        close();
        return error;
    }
    slavePath_ = name;
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags == -1 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) == -1) {
        const std::string error = failure("fcntl");
        close();
        return error;
    }
    keptSlave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (keptSlave_ == -1) {
        const std::string error = failure(name);
        close();
        return error;
    }
    termios settings{};
    if (::tcgetattr(keptSlave_, &settings) == -1) {
        const std::string error = failure("tcgetattr");
        close();
        return error;
    }
    makeRawLine(settings, baudRate);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (::tcsetattr(keptSlave_, TCSANOW, &settings) == -1) {
        const std::string error = failure("tcsetattr");
        close();
        return error;
    }
    // Watched only after our own open, so every event counted is the host's.
    watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ != -1 && ::inotify_add_watch(watch_, name, IN_OPEN | IN_CLOSE) == -1)
        closeFd(watch_);
    hostOpens_ = 0;
    return {};
}

void PseudoTerminal::close() {
    closeFd(watch_);
    closeFd(keptSlave_);
    closeFd(master_);
    slavePath_.clear();
    hostOpens_ = 0;
}

PseudoTerminal::LineFormat PseudoTerminal::hostLineFormat() const {
    termios settings{};
    if (::tcgetattr(master_, &settings) == -1)
        return {0, false};
    speed_t speed = ::cfgetispeed(&settings);
    if (speed == B0)
        speed = ::cfgetospeed(&settings);
    return {bitsPerSecond(speed), (settings.c_cflag & CSIZE) == CS8 && (settings.c_cflag & PARENB) == 0};
}

bool PseudoTerminal::handleWatchEvents() {
    if (watch_ == -1)
        return false;
    alignas(inotify_event) char buffer[4096];
    bool lastClosed = false;
    for (;;) {
        const ssize_t n = ::read(watch_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t offset = 0; offset < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            if (event->mask & IN_Q_OVERFLOW) {
                hostOpens_ = 0; // the count is lost; the next close starts it again
            } else if (event->mask & IN_OPEN) {
                ++hostOpens_;
            } else if (event->mask & IN_CLOSE) {
                if (hostOpens_ > 0 && --hostOpens_ == 0)
                    lastClosed = true;
            }
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (lastClosed && hostOpens_ == 0) {
        ::ioctl(keptSlave_, TIOCNXCL);
        ::tcflush(keptSlave_, TCIFLUSH);
        return true;
    }
    return false;
}

bool PseudoTerminal::reopenKeptSlave() {
    const int fd = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd == -1)
        return false;
    // Our own open and close reach the watch as a pair and leave the host's count as it was.
    closeFd(keptSlave_);
    keptSlave_ = fd;
    return true;
}

} // namespace tkm::sim
