#include "PosixCustomBaud.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace PosixCustomBaud {

int SetRate(int fd, quint32 baud) {
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) == -1)
        return errno;
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = baud;
    t.c_ospeed = baud;
    if (::ioctl(fd, TCSETS2, &t) == -1)
        return errno;
    return 0;
}

int ReadRate(int fd, quint32& baud) {
    quint32 input = 0;
    return ReadRates(fd, input, baud);
}

int ReadRates(int fd, quint32& input, quint32& output) {
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) == -1)
        return errno;
    input = t.c_ispeed;
    output = t.c_ospeed;
    return 0;
}

} // namespace PosixCustomBaud
