#pragma once

#include <chrono>

namespace tkm::sim {

// The time the simulated terminal's watchdog runs on. Tests inject a ManualSimClock so that they can
// advance time without sleeping. now() may be called from any thread.
class SimClock {
public:
    virtual ~SimClock() = default;
    virtual std::chrono::milliseconds now() const = 0;
};

// Monotonic wall time, the default.
class SteadySimClock : public SimClock {
public:
    std::chrono::milliseconds now() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

} // namespace tkm::sim
