#include "sim/LineTrace.h"

#include "sim/SimFrame.h"

#include <cstdio>

namespace tkm::sim {

LineTrace::LineTrace(std::size_t capacity)
    : capacity_(capacity == 0 ? 1 : capacity), start_(std::chrono::steady_clock::now()) {}

void LineTrace::append(TraceEntry::Direction direction, std::string bytes, std::string note) {
    TraceEntry entry;
    entry.time =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_);
    entry.direction = direction;
    entry.bytes = std::move(bytes);
    entry.note = std::move(note);
    {
        std::lock_guard lock(mutex_);
        entry.sequence = total_++;
        entries_.push_back(entry);
        if (entries_.size() > capacity_)
            entries_.pop_front();
    }
    changed_.notify_all();
    Listener listener;
    {
        std::lock_guard lock(listenerMutex_);
        listener = listener_;
    }
    if (listener)
        listener(entry);
}

std::vector<TraceEntry> LineTrace::entries() const {
    std::lock_guard lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

std::vector<std::string> LineTrace::frames(TraceEntry::Direction direction) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> result;
    for (const TraceEntry& entry : entries_)
        if (entry.direction == direction)
            result.push_back(entry.bytes);
    return result;
}

std::uint64_t LineTrace::total() const {
    std::lock_guard lock(mutex_);
    return total_;
}

void LineTrace::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

bool LineTrace::waitForTotal(std::uint64_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return total_ >= count; });
}

void LineTrace::setListener(Listener listener) {
    std::lock_guard lock(listenerMutex_);
    listener_ = std::move(listener);
}

std::string LineTrace::format(const TraceEntry& entry) {
    char time[32];
    std::snprintf(time, sizeof time, "%10.6f", static_cast<double>(entry.time.count()) / 1e6);
    std::string line = time;
    line += entry.direction == TraceEntry::Direction::ToTerminal ? "  host->term  " : "  term->host  ";
    line += escapeBytes(entry.bytes);
    if (!entry.note.empty())
        line += "  (" + entry.note + ")";
    return line;
}

std::string LineTrace::formatAll() const {
    std::string text;
    for (const TraceEntry& entry : entries())
        text += format(entry) + "\n";
    return text;
}

} // namespace tkm::sim
