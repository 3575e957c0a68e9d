#pragma once

#include "sim/TraceEntry.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tkm::sim {

// The record of every frame a simulated terminal received and sent. The line appends on its own
// thread; every other call may run on any thread. Only the newest `capacity` entries are kept.
class LineTrace {
public:
    static constexpr std::size_t kDefaultCapacity = 10000;
    using Listener = std::function<void(const TraceEntry&)>;

    explicit LineTrace(std::size_t capacity = kDefaultCapacity);

    void append(TraceEntry::Direction direction, std::string bytes, std::string note);

    std::vector<TraceEntry> entries() const;
    // The bytes of the kept entries of one direction, oldest first.
    std::vector<std::string> frames(TraceEntry::Direction direction) const;
    // How many entries were ever appended (clear() does not reset it).
    std::uint64_t total() const;
    void clear();

    // Blocks until at least `count` entries were ever appended, or until timeout; returns whether they
    // were. Tests wait for the line with it instead of sleeping.
    bool waitForTotal(std::uint64_t count, std::chrono::milliseconds timeout) const;

    // Called on the line thread after each append, without the trace's lock held. It must not stop
    // the line. An empty function removes the listener.
    void setListener(Listener listener);

    // One line of text: seconds since start, direction, escaped bytes, note.
    static std::string format(const TraceEntry& entry);
    std::string formatAll() const;

private:
    const std::size_t capacity_;
    const std::chrono::steady_clock::time_point start_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::deque<TraceEntry> entries_;
    std::uint64_t total_ = 0;
    std::mutex listenerMutex_;
    Listener listener_;
};

} // namespace tkm::sim
