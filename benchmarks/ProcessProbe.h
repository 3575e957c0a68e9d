#pragma once

// Readings of this process from the kernel, for the benchmarks: CPU time of the process and of each
// of its threads, wake-ups (voluntary context switches) per thread, and resident memory. Linux only;
// any thread.

#include <string>
#include <vector>

namespace tkm::bench {

struct ThreadSample {
    int tid = 0;
    std::string name;           // the kernel's comm of the thread
    double cpuSeconds = 0;      // user + system, from the thread's CPU-time clock
    long voluntarySwitches = 0; // each one is a block, so each is followed by one wake-up
    long involuntarySwitches = 0;
};

struct MemoryStatus {
    long rssKiB = 0; // VmRSS
    long hwmKiB = 0; // VmHWM: the peak resident set
};

// The ids of all threads of this process, ascending.
std::vector<int> ThreadIds();
// The file descriptors this process holds open.
int OpenDescriptorCount();
// Empty name and zeros when the thread has ended.
ThreadSample SampleThread(int tid);
std::vector<ThreadSample> SampleThreads();
// What the kernel says the thread is blocked in ("do_epoll_wait", "futex_wait_queue", ...).
std::string ThreadWaitChannel(int tid);
// Renames the thread as ps and /proc show it (at most 15 characters); false when refused.
bool NameThread(int tid, const std::string& name);

// User + system CPU time of the whole process (getrusage).
double ProcessCpuSeconds();
MemoryStatus ReadMemoryStatus();
// CLOCK_MONOTONIC in nanoseconds: comparable between processes on this machine.
long long MonotonicNs();
// The one-minute load average, or -1.
double LoadAverage();

} // namespace tkm::bench
