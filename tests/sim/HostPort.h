#pragma once

#include "sim/SimTerminal.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace tkm::sim::test {

// The host's end of a simulated line, opened the way the utility opens a serial port: O_NOCTTY |
// O_NONBLOCK, flock(LOCK_EX), TIOCEXCL, raw 8N1. Instead of sleeping for a reply wait it asks the
// simulator to finish what is due within the wait and then reads exactly the bytes the simulator sent.
class HostPort {
public:
    static constexpr std::chrono::milliseconds kSafety{5000}; // only reached when something hangs

    HostPort(SimTerminal& terminal, int baudRate = 9600, std::string path = {});
    ~HostPort();
    HostPort(const HostPort&) = delete;
    HostPort& operator=(const HostPort&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }
    void setSpeed(int baudRate);
    void close(bool clearExclusive = false);

    void write(std::string_view bytes);
    // Stands in for a reply wait of `window`: everything the terminal sends within it lands in the
    // receive buffer.
    void wait(std::chrono::milliseconds window);
    // The receive buffer plus whatever else has arrived, removed from the port.
    std::string read();
    // write, wait, read.
    std::string exchange(std::string_view frame,
                         std::chrono::milliseconds window = std::chrono::milliseconds(52));

private:
    void readInto(std::string& buffer);

    SimTerminal& terminal_;
    int fd_ = -1;
    std::string error_;
    std::uint64_t terminatorsSent_ = 0; // since start, counted like the line counts them
    std::uint64_t bytesExpected_ = 0;   // the line's bytesSent that has reached us
    std::uint64_t bytesRead_ = 0;
    std::string buffer_;
};

// Runs `open` on a thread without CAP_SYS_ADMIN, which lets root open a tty in exclusive mode.
int openWithoutAdminCapability(const std::string& path);

} // namespace tkm::sim::test
