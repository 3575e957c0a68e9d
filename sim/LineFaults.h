#pragma once

#include <chrono>
#include <string>

namespace tkm::sim {

// Faults a simulated line can inject into every reply while they are switched on.
struct LineFaults {
    static constexpr const char* kDefaultGarbage = "#\xFF";

    bool silence = false;                   // frames are taken, nothing is sent
    std::chrono::milliseconds lateReply{0}; // each reply starts this much later
    bool wrongChecksum = false;             // checksum off by one (only while checksum mode is on)
    std::string garbage;                    // sent just before each reply; empty: none
    int truncateTo = -1;                    // each reply cut to its first N bytes; negative: whole
    bool lowerCaseChecksum = false;         // checksum hex digits in lower case

    bool any() const {
        return silence || lateReply.count() > 0 || wrongChecksum || !garbage.empty() || truncateTo >= 0 ||
               lowerCaseChecksum;
    }
    // "silence, late 200 ms, ..." or "none".
    std::string describe() const;
};

} // namespace tkm::sim
