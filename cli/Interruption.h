#pragma once

#include <chrono>
#include <optional>
#include <string>

// Thrown where a command stops at once because of a signal; the tool ends with 128 + its number.
struct Interrupted {};

// Ctrl-C (SIGINT), SIGTERM and SIGHUP end the tool's waiting loops cleanly: the port is closed (its line
// settings restored, its lock file removed) and the command reports what it did; the tool then ends
// with 128 + the signal's number, as the shell reports a program the signal killed. While an
// Interruption exists the signals only set a flag and wake whatever waits here; the handlers it
// replaced come back when it is destroyed. A reader of standard output that goes away while a command
// waits (`keys --watch | head -1`) ends the waits the same way, as SIGPIPE. One at a time; its calls
// belong to the thread that created it (the signal itself may arrive on any thread).
class Interruption {
public:
    // output: the descriptor whose reader is watched while waiting; -1 for none.
    explicit Interruption(int output = -1);
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    bool requested() const;
    // The signal that asked (SIGPIPE for a reader gone); 0 while none has.
    int signal() const;
    // Waits for the time; true when interrupted meanwhile (also before).
    bool sleep(std::chrono::milliseconds time) const;
    // One line from the descriptor (without its newline); nothing at end of input or when interrupted.
    std::optional<std::string> readLine(int fd) const;

private:
    // Polls the wake pipe, the watched output and fd (when >= 0): true when fd is readable.
    bool wait(int fd, std::chrono::milliseconds timeout) const;

    int output_;
};
