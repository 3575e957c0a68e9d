#pragma once

#include "sim/LineTrace.h"

#include <chrono>
#include <cstdint>
#include <string>

// The transaction's reply wait for tests against the simulator. Instead of sleeping the fixed time,
// it waits for what the real wait is there for: the simulator has taken the frame and, when it
// answers at all, its reply has been written to the line. The simulator records both in its trace,
// and it writes a reply to the pseudo-terminal before it records it, so once the reply is in the
// trace its bytes are readable. Each step is capped, so a frame lost on the way costs at most the cap.
class SimReplyWait {
public:
    explicit SimReplyWait(tkm::sim::LineTrace& trace, std::chrono::milliseconds cap = std::chrono::seconds(2))
        : trace_(trace), cap_(cap), seen_(trace.total()) {}

    void operator()(int /*milliseconds*/) {
        using Direction = tkm::sim::TraceEntry::Direction;
        // The frame just sent: the first entry the line records after the last wait.
        if (!trace_.waitForTotal(seen_ + 1, cap_)) {
            seen_ = trace_.total();
            return;
        }
        const tkm::sim::TraceEntry frame = entryAt(seen_);
        seen_ = frame.sequence + 1;
        if (frame.direction != Direction::ToTerminal || !answered(frame.note))
            return;
        if (trace_.waitForTotal(seen_ + 1, cap_))
            seen_ = entryAt(seen_).sequence + 1;
    }

private:
    // What the simulator notes for a frame it does not answer.
    static bool answered(const std::string& note) {
        for (const char* silent : {"not for this address", "terminal is off", "no checksum", "bad checksum",
                                   "host alive", "not a command", "withheld", "not understood", "dropped"}) {
            if (note.find(silent) != std::string::npos)
                return false;
        }
        return true;
    }

    tkm::sim::TraceEntry entryAt(std::uint64_t sequence) const {
        for (const tkm::sim::TraceEntry& entry : trace_.entries()) {
            if (entry.sequence >= sequence)
                return entry;
        }
        return {};
    }

    tkm::sim::LineTrace& trace_;
    std::chrono::milliseconds cap_;
    std::uint64_t seen_;
};
