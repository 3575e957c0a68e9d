#pragma once

#include <chrono>
#include <string>

namespace tkm::protocol {

// All the command transaction needs of the serial port. The main window adapts its port component to
// it; tests adapt a pseudo-terminal or a fake. Called on the thread that runs Transact.
class TransactPort {
public:
    virtual ~TransactPort() = default;

    enum class InputWait { Arrived, TimedOut, Unsupported };
    // Blocks until bytes are waiting in the receive buffer or the timeout has passed. A port that
    // cannot wait answers Unsupported at once (the default); TransactUntilReply then waits the whole
    // reply wait, as Transact does.
    virtual InputWait WaitForInput(std::chrono::milliseconds timeout) {
        (void)timeout;
        return InputWait::Unsupported;
    }

    virtual bool GetActive() const = 0;
    // Every byte currently held in the receive buffer (possibly none), removed from it; never waits.
    virtual std::string ReadString() = 0;
    // Returns when the bytes have been handed to the line.
    virtual void SendString(const std::string& bytes) = 0;
};

} // namespace tkm::protocol
