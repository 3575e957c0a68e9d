#include "RawPtyPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace tkm::bench {

namespace {
speed_t SpeedConstant(int baudRate) {
    switch (baudRate) {
    case 115200:
        return B115200;
    case 57600:
        return B57600;
    case 19200:
        return B19200;
    default:
        return B9600;
    }
}
} // namespace

RawPtyPort::RawPtyPort(const std::string& path, int baudRate) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ == -1) {
        error_ = path + ": " + std::strerror(errno);
        return;
    }
    termios settings{};
    if (::tcgetattr(fd_, &settings) == -1) {
        error_ = path + ": " + std::strerror(errno);
        ::close(fd_);
        fd_ = -1;
        return;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&settings, SpeedConstant(baudRate));
    ::cfsetospeed(&settings, SpeedConstant(baudRate));
    ::tcsetattr(fd_, TCSANOW, &settings);
    ::tcflush(fd_, TCIOFLUSH);
}

RawPtyPort::~RawPtyPort() {
    if (fd_ != -1)
        ::close(fd_);
}

std::string RawPtyPort::ReadString() {
    std::string bytes;
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n > 0)
            bytes.append(chunk, static_cast<std::size_t>(n));
        else if (n == -1 && errno == EINTR)
            continue;
        else
            return bytes;
    }
}

void RawPtyPort::SendString(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == -1 && errno == EAGAIN) {
            pollfd out{fd_, POLLOUT, 0};
            ::poll(&out, 1, 100);
        } else if (n == -1 && errno != EINTR) {
            return;
        }
    }
}

} // namespace tkm::bench
