#pragma once

#include <chrono>
#include <optional>

class Interruption;

// How long a watching command (keys --watch, watchdog keepalive) goes on: until interrupted, and at
// most a number of rounds (--count) or a time (--duration). Owner thread only.
class WatchLoop {
public:
    WatchLoop(const Interruption& interruption, std::optional<int> count,
              std::optional<std::chrono::milliseconds> duration);

    // Whether to run another round.
    bool goOn() const;
    // One round counted (what --count counts).
    void counted() { ++rounds_; }
    // Waits the interval, or less when the duration ends first.
    void pause(std::chrono::milliseconds interval) const;

private:
    const Interruption& interruption_;
    std::optional<int> count_;
    std::optional<std::chrono::steady_clock::time_point> end_;
    int rounds_ = 0;
};
