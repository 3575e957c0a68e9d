// Start-up time and resident memory of the utility's main window against a minimal Qt Widgets
// program built the same way. Each run spawns a fresh process (startup_utility, startup_reference,
// next to this program), which prints its timestamps and memory once its window is painted and has
// settled; times count from just before the spawn.
//
//   bench_startup [--runs N]      (default 7; QT_QPA_PLATFORM defaults to offscreen)

#include "ProcessProbe.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The minimal Qt Widgets program built the same way is the yardstick for both.
constexpr double kStartGoalRatio = 1.25;
constexpr double kRssGoalRatio = 1.05;

struct Run {
    double mainMs = 0;    // spawn to main entry: loading and linking the program and its libraries
    double shownMs = 0;   // spawn to show() returned
    double paintedMs = 0; // spawn to the first paint done
    double rssPaintedMiB = 0;
    double rssSettledMiB = 0;
    double hwmMiB = 0;
};

std::string ProgramFolder() {
    char path[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string exe(path, n > 0 ? static_cast<std::size_t>(n) : 0);
    return exe.substr(0, exe.rfind('/') + 1);
}

// Spawns the program and reads its one report line; false when it failed.
bool RunOnce(const std::string& program, Run& run) {
    int pipeFds[2];
    if (::pipe(pipeFds) == -1)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    const long long spawnNs = tkm::bench::MonotonicNs();
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (error != 0) {
        ::close(pipeFds[0]);
        std::fprintf(stderr, "%s: %s\n", program.c_str(), std::strerror(error));
        return false;
    }
    std::string output;
    char chunk[512];
    for (ssize_t n; (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0;)
        output.append(chunk, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);

    std::map<std::string, long long> values;
    for (const char* key :
         {"main_ns", "shown_ns", "painted_ns", "rss_painted_kib", "rss_settled_kib", "hwm_kib"}) {
        const std::size_t at = output.find(std::string(key) + "=");
        if (at == std::string::npos) {
            std::fprintf(stderr, "%s: no %s in its report: %s\n", program.c_str(), key, output.c_str());
            return false;
        }
        values[key] = std::atoll(output.c_str() + at + std::strlen(key) + 1);
    }
    auto ms = [&](const char* key) { return static_cast<double>(values[key] - spawnNs) * 1e-6; };
    run.mainMs = ms("main_ns");
    run.shownMs = ms("shown_ns");
    run.paintedMs = ms("painted_ns");
    run.rssPaintedMiB = static_cast<double>(values["rss_painted_kib"]) / 1024.0;
    run.rssSettledMiB = static_cast<double>(values["rss_settled_kib"]) / 1024.0;
    run.hwmMiB = static_cast<double>(values["hwm_kib"]) / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Spread {
    double min = 0;
    double median = 0;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    if (values.empty())
        return {};
    const std::size_t n = values.size();
    return {values.front(), n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2};
}

void Report(const char* name, const std::vector<Run>& runs) {
    auto column = [&](double Run::*field) {
        std::vector<double> values;
        for (const Run& r : runs)
            values.push_back(r.*field);
        return SpreadOf(values);
    };
    const Spread main = column(&Run::mainMs);
    const Spread shown = column(&Run::shownMs);
    const Spread painted = column(&Run::paintedMs);
    const Spread rssPainted = column(&Run::rssPaintedMiB);
    const Spread rssSettled = column(&Run::rssSettledMiB);
    const Spread hwm = column(&Run::hwmMiB);
    std::printf("%-10s runs %zu   min / median\n", name, runs.size());
    std::printf("  spawn -> main entry     %7.1f / %7.1f ms\n", main.min, main.median);
    std::printf("  spawn -> window shown   %7.1f / %7.1f ms\n", shown.min, shown.median);
    std::printf("  spawn -> first paint    %7.1f / %7.1f ms\n", painted.min, painted.median);
    std::printf("  VmRSS at first paint    %7.1f / %7.1f MiB\n", rssPainted.min, rssPainted.median);
    std::printf("  VmRSS after 1 s         %7.1f / %7.1f MiB\n", rssSettled.min, rssSettled.median);
    std::printf("  VmHWM                   %7.1f / %7.1f MiB\n", hwm.min, hwm.median);
}

} // namespace

int main(int argc, char** argv) {
    int runs = 7;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: %s [--runs N]\n", argv[0]);
            return 2;
        }
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::printf("bench_startup: %ld cores online, load average %.2f, platform %s\n",
                ::sysconf(_SC_NPROCESSORS_ONLN), tkm::bench::LoadAverage(), std::getenv("QT_QPA_PLATFORM"));

    const std::string folder = ProgramFolder();
    const std::string utility = folder + "startup_utility";
    const std::string reference = folder + "startup_reference";
    std::vector<Run> utilityRuns;
    std::vector<Run> referenceRuns;
    // Alternating, so that a burst of load from elsewhere hits both alike.
    for (int i = 0; i < runs; ++i) {
        Run run;
        if (RunOnce(utility, run))
            utilityRuns.push_back(run);
        if (RunOnce(reference, run))
            referenceRuns.push_back(run);
    }
    if (utilityRuns.empty() || referenceRuns.empty())
        return 1;
    Report("utility", utilityRuns);
    Report("reference", referenceRuns);

    auto median = [](const std::vector<Run>& rs, double Run::*field) {
        std::vector<double> values;
        for (const Run& r : rs)
            values.push_back(r.*field);
        return SpreadOf(values).median;
    };
    const double startMs = median(utilityRuns, &Run::paintedMs);
    const double referenceStartMs = median(referenceRuns, &Run::paintedMs);
    const double rss = median(utilityRuns, &Run::rssSettledMiB);
    const double referenceRss = median(referenceRuns, &Run::rssSettledMiB);
    std::printf("spawn to first paint: utility %.1f ms, reference %.1f ms (%.2fx); goal at most %.2fx -> %s\n",
                startMs, referenceStartMs, startMs / referenceStartMs, kStartGoalRatio,
                startMs <= kStartGoalRatio * referenceStartMs ? "met" : "NOT met");
    std::printf("RSS after 1 s: utility %.1f MiB, reference %.1f MiB (%+.1f MiB, %.2fx); goal at most %.2fx -> %s\n",
                rss, referenceRss, rss - referenceRss, rss / referenceRss, kRssGoalRatio,
                rss <= kRssGoalRatio * referenceRss ? "met" : "NOT met");
    return 0;
}
