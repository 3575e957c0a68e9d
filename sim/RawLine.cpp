#include "sim/RawLine.h"

namespace tkm::sim {

namespace {
struct Rate {
    int bitsPerSecond;
    speed_t speed;
};

constexpr Rate kRates[] = {
    {300, B300},   {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};
} // namespace

speed_t speedConstant(int baudRate) {
    for (const Rate& rate : kRates)
        if (rate.bitsPerSecond == baudRate)
            return rate.speed;
    return B9600;
}

int bitsPerSecond(speed_t speed) {
    for (const Rate& rate : kRates)
        if (rate.speed == speed)
            return rate.bitsPerSecond;
    return 0;
}

void makeRawLine(termios& settings, int baudRate) {
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&settings, speedConstant(baudRate));
    ::cfsetospeed(&settings, speedConstant(baudRate));
}

} // namespace tkm::sim
