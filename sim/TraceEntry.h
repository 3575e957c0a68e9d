#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace tkm::sim {

// One event on the simulated line: a frame (or a chunk of bytes that could not be taken) received
// from the host, or bytes sent to it.
struct TraceEntry {
    enum class Direction {
        ToTerminal,  // received from the host, carriage return included
        FromTerminal // sent to the host, exactly as written to the line
    };

    std::uint64_t sequence = 0;       // 0, 1, 2 ... since the line started, never reused
    std::chrono::microseconds time{}; // since the trace was created
    Direction direction = Direction::ToTerminal;
    std::string bytes;
    std::string note; // how the terminal took the frame ("ok", "bad checksum", "baud mismatch", ...)
};

} // namespace tkm::sim
