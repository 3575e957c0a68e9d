#pragma once

#include <termios.h>

namespace tkm::sim {

// The termios speed for a rate in bits per second; 9600 baud for a rate that is none of the usual.
speed_t speedConstant(int baudRate);

// The rate of a termios speed; 0 for one that is none of the usual.
int bitsPerSecond(speed_t speed);

// Raw bytes, 8N1, receiver on, modem lines ignored, at baudRate (as speedConstant maps it).
void makeRawLine(termios& settings, int baudRate);

} // namespace tkm::sim
