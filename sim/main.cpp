// tkm9214-sim: a simulated TKM-9214 terminal on a pseudo-terminal, driven from standard input.

#include "sim/SimConsole.h"
#include "sim/SimProgramOptions.h"
#include "sim/SimTerminal.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxCommandLine = 4096;

void print(const std::string& text) {
    if (text.empty())
        return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// An old link (from a run that was killed) is replaced; any other file is not ours to remove.
bool makeLink(const std::string& link, const std::string& target) {
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            std::fprintf(stderr, "tkm9214-sim: %s exists and is not a symbolic link\n", link.c_str());
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) == -1) {
        std::fprintf(stderr, "tkm9214-sim: cannot link %s: %s\n", link.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

void removeLink(const std::string& link, const std::string& target) {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
    if (n > 0 && std::string(buffer, static_cast<std::size_t>(n)) == target)
        ::unlink(link.c_str());
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = tkm::sim::SimProgramOptions::parse({argv + 1, argv + argc}, error);
    if (!options) {
        std::fprintf(stderr, "tkm9214-sim: %s (try --help)\n", error.c_str());
        return 2;
    }
    if (options->help) {
        print(tkm::sim::SimProgramOptions::usage());
        return 0;
    }
    if (options->version) {
        print(std::string("tkm9214-sim ") + TKM_VERSION + "\n");
        return 0;
    }

    // Blocked before any thread starts, so that only the signalfd below sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalFd == -1) {
        std::fprintf(stderr, "tkm9214-sim: signalfd: %s\n", std::strerror(errno));
        return 1;
    }

    tkm::sim::SimTerminal terminal({options->settings, nullptr, options->pacing, options->echo,
                                    std::chrono::milliseconds(options->turnaroundMs)});
    if (const std::string startError = terminal.start(); !startError.empty()) {
        std::fprintf(stderr, "tkm9214-sim: %s\n", startError.c_str());
        return 1;
    }
    const std::string slave = terminal.slavePath();
    if (!options->link.empty() && !makeLink(options->link, slave))
        return 1;

    tkm::sim::SimConsole console(terminal, [](const std::string& line) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    });
    console.setLiveTrace(options->trace);

    print(slave + "\n");
    if (options->readStdin)
        print("TKM-9214 simulator on " + slave + (options->link.empty() ? "" : " (" + options->link + ")") +
              "; type help for commands\n");

    std::string pending;
    bool quit = false;
    while (!quit) {
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, options->readStdin ? 2 : 1, -1) == -1) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN)
            break;
        if (!options->readStdin || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[1024];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == -1 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break; // end of input
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; !quit && (end = pending.find('\n')) != std::string::npos;) {
            const auto outcome = console.execute(std::string_view(pending).substr(0, end));
            pending.erase(0, end + 1);
            print(outcome.output);
            quit = outcome.quit;
        }
        if (pending.size() > kMaxCommandLine)
            pending.clear();
    }

    console.setLiveTrace(false);
    terminal.stop();
    if (!options->link.empty())
        removeLink(options->link, slave);
    ::close(signalFd);
    return 0;
}
