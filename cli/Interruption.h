#pragma once

#include <chrono>
#include <optional>
#include <string>

// Ctrl-C (SIGINT) and SIGTERM end the tool's waiting loops cleanly: the port is closed (its line
// settings restored) and the command reports what it did. While an Interruption exists the two
// signals only set a flag and wake whatever waits here; the handlers it replaced come back when it is
// destroyed. One at a time; its calls belong to the thread that created it (the signal itself may
// arrive on any thread).
class Interruption {
public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    bool requested() const;
    // Waits for the time; true when interrupted meanwhile (also before).
    bool sleep(std::chrono::milliseconds time) const;
    // One line from the descriptor (without its newline); nothing at end of input or when interrupted.
    std::optional<std::string> readLine(int fd) const;
};
