#pragma once
// The driver modes of field adapters through their ioctls: the low-latency flag (TIOCGSERIAL /
// TIOCSSERIAL with ASYNC_LOW_LATENCY, which an ordinary user may change) and the RS-485 mode
// (TIOCGRS485 / TIOCSRS485). Each setter reads the driver's record first and changes only the fields
// named, so writing back what was read restores the driver as it was. Each call returns 0 or errno.
// Any thread that owns the descriptor.
#include "SerialDevice.h"

namespace PosixAdapterModes {

int LowLatency(int fd, bool& on);
int SetLowLatency(int fd, bool on);
int Rs485(int fd, SerialRs485& mode);
int SetRs485(int fd, const SerialRs485& mode);

} // namespace PosixAdapterModes
