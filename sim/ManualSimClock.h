#pragma once

#include "sim/SimClock.h"

#include <atomic>
#include <chrono>

namespace tkm::sim {

// A clock that moves only when told to. advance() and now() may run on different threads.
class ManualSimClock : public SimClock {
public:
    std::chrono::milliseconds now() const override { return std::chrono::milliseconds(ms_.load()); }
    void advance(std::chrono::milliseconds by) { ms_.fetch_add(by.count()); }

private:
    std::atomic<std::chrono::milliseconds::rep> ms_{0};
};

} // namespace tkm::sim
