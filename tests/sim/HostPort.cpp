#include "HostPort.h"

#include "sim/RawLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace tkm::sim::test {

HostPort::HostPort(SimTerminal& terminal, int baudRate, std::string path) : terminal_(terminal) {
    if (path.empty())
        path = terminal.slavePath();
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ == -1) {
        error_ = std::string("open: ") + std::strerror(errno);
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == -1 || ::ioctl(fd_, TIOCEXCL) == -1) {
        error_ = std::string("lock: ") + std::strerror(errno);
        ::close(fd_);
        fd_ = -1;
        return;
    }
    setSpeed(baudRate);
    ::tcflush(fd_, TCIOFLUSH);
    const PtyLine::Progress progress = terminal.progress();
    terminatorsSent_ = progress.terminatorsReceived;
    bytesExpected_ = bytesRead_ = progress.bytesSent;
}

HostPort::~HostPort() {
    close();
}

void HostPort::setSpeed(int baudRate) {
    termios settings{};
    ::tcgetattr(fd_, &settings);
    makeRawLine(settings, baudRate);
    ::tcsetattr(fd_, TCSANOW, &settings);
}

void HostPort::close(bool clearExclusive) {
    if (fd_ == -1)
        return;
    if (clearExclusive)
        ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

void HostPort::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n == -1 && errno != EINTR && errno != EAGAIN)
            return;
        if (n > 0) {
            terminatorsSent_ +=
                static_cast<std::uint64_t>(std::count(bytes.begin(), bytes.begin() + n, '\r'));
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
}

void HostPort::wait(std::chrono::milliseconds window) {
    terminal_.waitForReplies(terminatorsSent_, window, kSafety);
    bytesExpected_ = terminal_.progress().bytesSent;
    const auto giveUp = std::chrono::steady_clock::now() + kSafety;
    // The pty hands written bytes over asynchronously: wait until all of them are here.
    while (bytesRead_ < bytesExpected_ && std::chrono::steady_clock::now() < giveUp) {
        pollfd fd{fd_, POLLIN, 0};
        ::poll(&fd, 1, 100);
        readInto(buffer_);
    }
}

std::string HostPort::read() {
    readInto(buffer_);
    return std::exchange(buffer_, {});
}

std::string HostPort::exchange(std::string_view frame, std::chrono::milliseconds window) {
    read();
    write(frame);
    wait(window);
    return read();
}

void HostPort::readInto(std::string& buffer) {
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n <= 0)
            return;
        buffer.append(chunk, static_cast<std::size_t>(n));
        bytesRead_ += static_cast<std::uint64_t>(n);
    }
}

int openWithoutAdminCapability(const std::string& path) {
    int fd = -1;
    std::thread opener([&] {
        // capset through the system call changes this thread only.
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (::syscall(SYS_capget, &header, data) == 0) {
            data[CAP_SYS_ADMIN / 32].effective &= ~(1u << (CAP_SYS_ADMIN % 32));
            ::syscall(SYS_capset, &header, data);
        }
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    });
    opener.join();
    return fd;
}

} // namespace tkm::sim::test
