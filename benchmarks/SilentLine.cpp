#include "SilentLine.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace tkm::bench {

SilentLine::SilentLine() {
    char name[PATH_MAX] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) == -1) {
        error_ = std::string("openpty: ") + std::strerror(errno);
        return;
    }
    slavePath_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Raw, so the host's carriage returns reach the master unchanged; the slave stays open here so
    // the master never sees a hang-up between the host's opens.
    termios settings{};
    ::tcgetattr(slave_, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(slave_, TCSANOW, &settings);
}

SilentLine::~SilentLine() {
    for (int fd : {slave_, master_})
        if (fd != -1)
            ::close(fd);
}

long SilentLine::DrainFrames() {
    long frames = 0;
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0)
            return frames;
        frames += std::count(chunk, chunk + n, '\r');
    }
}

} // namespace tkm::bench
