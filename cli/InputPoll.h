#pragma once

#include <chrono>

// Waiting for a descriptor to become readable: the one place the tool calls poll(). Any thread.
namespace InputPoll {

enum class Result { Readable, TimedOut, Failed };

// Readable when bytes (or end of input) wait on fd, TimedOut after timeout, Failed when the device
// reports an error or hang-up.
Result waitReadable(int fd, std::chrono::milliseconds timeout);

struct Woken {
    bool wake = false;       // the wake descriptor is readable
    bool outputGone = false; // the output has no reader any more, or hung up
    bool readable = false;   // the descriptor read from is readable (or at its end)
};

// Waits until the wake descriptor or `fd` becomes readable, or `output` reports an error or hang-up
// (a pipe whose reader has gone); a descriptor of -1 is left out. A negative timeout waits for ever;
// nothing is woken on timeout.
Woken waitForAny(int wake, int output, int fd, std::chrono::milliseconds timeout);

} // namespace InputPoll
