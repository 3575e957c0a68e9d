#pragma once
// Rates that termios has no Bxxx constant for, through the kernel's termios2 record (BOTHER).
// Kept apart: the kernel's termios headers cannot meet the C library's in one file.
#include <QtGlobal>

namespace PosixCustomBaud {
// 0 or errno.
int SetRate(int fd, quint32 baud);
int ReadRate(int fd, quint32& baud);
// Both rates as the kernel holds them.
int ReadRates(int fd, quint32& input, quint32& output);
} // namespace PosixCustomBaud
