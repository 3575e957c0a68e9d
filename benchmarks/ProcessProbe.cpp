#include "ProcessProbe.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace tkm::bench {

namespace {

std::string TaskPath(int tid, const char* entry) {
    return "/proc/self/task/" + std::to_string(tid) + "/" + entry;
}

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// glibc's pthread_getcpuclockid builds the same id from the kernel thread id; the kernel accepts it
// for any thread of the calling process.
clockid_t ThreadCpuClock(int tid) {
    return static_cast<clockid_t>((~static_cast<unsigned>(tid) << 3) | 6u);
}

long StatusField(const std::string& path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, key.size(), key) == 0 && line.size() > key.size() && line[key.size()] == ':')
            return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    return 0;
}

} // namespace

std::vector<int> ThreadIds() {
    std::vector<int> ids;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] >= '0' && entry->d_name[0] <= '9')
                ids.push_back(std::atoi(entry->d_name));
        ::closedir(dir);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

int OpenDescriptorCount() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(dir))
            count += entry->d_name[0] >= '0' && entry->d_name[0] <= '9' ? 1 : 0;
        ::closedir(dir);
    }
    return count - 1; // the folder's own, open while it is read
}

ThreadSample SampleThread(int tid) {
    ThreadSample sample;
    sample.tid = tid;
    timespec ts{};
    if (::clock_gettime(ThreadCpuClock(tid), &ts) != 0)
        return sample;
    sample.cpuSeconds = static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
    sample.name = FirstLine(TaskPath(tid, "comm"));
    const std::string status = TaskPath(tid, "status");
    sample.voluntarySwitches = StatusField(status, "voluntary_ctxt_switches");
    sample.involuntarySwitches = StatusField(status, "nonvoluntary_ctxt_switches");
    return sample;
}

std::vector<ThreadSample> SampleThreads() {
    std::vector<ThreadSample> samples;
    for (int tid : ThreadIds())
        samples.push_back(SampleThread(tid));
    return samples;
}

std::string ThreadWaitChannel(int tid) {
    return FirstLine(TaskPath(tid, "wchan"));
}

bool NameThread(int tid, const std::string& name) {
    std::ofstream out(TaskPath(tid, "comm"));
    out << name.substr(0, 15);
    out.close();
    return static_cast<bool>(out);
}

double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

MemoryStatus ReadMemoryStatus() {
    return {StatusField("/proc/self/status", "VmRSS"), StatusField("/proc/self/status", "VmHWM")};
}

long long MonotonicNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

double LoadAverage() {
    double load[1];
    return ::getloadavg(load, 1) == 1 ? load[0] : -1;
}

} // namespace tkm::bench
