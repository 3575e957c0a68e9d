#include "cli/WatchLoop.h"

#include "cli/Interruption.h"

#include <algorithm>

WatchLoop::WatchLoop(const Interruption& interruption, std::optional<int> count,
                     std::optional<std::chrono::milliseconds> duration)
    : interruption_(interruption), count_(count) {
    if (duration)
        end_ = std::chrono::steady_clock::now() + *duration;
}

bool WatchLoop::goOn() const {
    if (interruption_.requested() || (count_ && rounds_ >= *count_))
        return false;
    return !end_ || std::chrono::steady_clock::now() < *end_;
}

void WatchLoop::pause(std::chrono::milliseconds interval) const {
    if (end_) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(*end_ - std::chrono::steady_clock::now());
        interval = std::clamp(left, std::chrono::milliseconds(0), interval);
    }
    interruption_.sleep(interval);
}
