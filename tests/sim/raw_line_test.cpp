#include "sim/RawLine.h"

#include <gtest/gtest.h>

namespace tkm::sim {
namespace {

TEST(RawLine, UsualRatesGoBothWaysOthersFallBack) {
    for (int rate : {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        EXPECT_EQ(bitsPerSecond(speedConstant(rate)), rate) << rate;
    EXPECT_EQ(speedConstant(0), B9600);
    EXPECT_EQ(speedConstant(14400), B9600);
    EXPECT_EQ(bitsPerSecond(B50), 0);
    EXPECT_EQ(bitsPerSecond(B0), 0);
}

TEST(RawLine, RawEightNoParityAtTheRate) {
    termios settings{};
    settings.c_cflag = PARENB | CS7;
    settings.c_lflag = ICANON | ECHO;
    makeRawLine(settings, 19200);
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(cfgetispeed(&settings), B19200);
    EXPECT_EQ(cfgetospeed(&settings), B19200);
}

} // namespace
} // namespace tkm::sim
