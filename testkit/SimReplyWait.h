#pragma once

#include "sim/LineTrace.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <utility>

// The transaction's reply wait for tests against the simulator. Instead of sleeping the fixed time,
// it waits for what the real wait is there for: the simulator has taken the frame and, when it
// answers at all, its reply has arrived in the port's input queue. The simulator records the frame
// and its reply in its trace; the pseudo-terminal hands written bytes to the other side a moment
// later, so the wait then watches the port's queue until the reply's bytes are there. Each step is
// capped, so a frame or reply lost on the way costs at most the cap. On an echoing line the frame's
// echo comes into the queue ahead of the reply.
class SimReplyWait {
public:
    // waiting: the number of bytes in the port's input queue.
    SimReplyWait(tkm::sim::LineTrace& trace, std::function<std::size_t()> waiting,
                 std::chrono::milliseconds cap = std::chrono::seconds(2), bool echoing = false)
        : trace_(trace), waiting_(std::move(waiting)), cap_(cap), seen_(trace.total()), echoing_(echoing) {}

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
        if (!trace_.waitForTotal(seen_ + 1, cap_))
            return;
        const tkm::sim::TraceEntry reply = entryAt(seen_);
        seen_ = reply.sequence + 1;
        const std::size_t expected = reply.bytes.size() + (echoing_ ? frame.bytes.size() : 0);
        const auto deadline = std::chrono::steady_clock::now() + cap_;
        while (waiting_() < expected && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
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
    std::function<std::size_t()> waiting_;
    std::chrono::milliseconds cap_;
    std::uint64_t seen_;
    bool echoing_;
};
