#pragma once

#include <chrono>

// Waiting for a descriptor to become readable: the one place the tool calls poll(). Any thread.
namespace InputPoll {

enum class Result { Readable, TimedOut, Failed };

// Readable when bytes (or end of input) wait on fd, TimedOut after timeout, Failed when the device
// reports an error or hang-up.
Result waitReadable(int fd, std::chrono::milliseconds timeout);

// Waits for the first of two descriptors to become readable: 0 or 1 for the one that did, -1 on
// timeout or failure. A negative timeout waits for ever.
int waitEither(int first, int second, std::chrono::milliseconds timeout);

} // namespace InputPoll
