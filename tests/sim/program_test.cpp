// The program tkm9214-sim as a person or a script runs it.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kSafetyMs = 5000; // only reached when something hangs

class Program {
public:
    explicit Program(std::vector<std::string> arguments) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) == -1 || ::pipe2(out, O_CLOEXEC) == -1)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        arguments.insert(arguments.begin(), TKM_SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, TKM_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        closeStdin();
        ::close(stdout_);
    }

    void send(const std::string& text) {
        [[maybe_unused]] auto n = ::write(stdin_, text.data(), text.size());
    }
    void closeStdin() {
        if (stdin_ >= 0)
            ::close(stdin_);
        stdin_ = -1;
    }
    // Standard output up to and including `marker`, or all there is when the program ends first.
    std::string readUntil(const std::string& marker) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSafetyMs);
        while (output_.find(marker) == std::string::npos && std::chrono::steady_clock::now() < giveUp) {
            pollfd fd{stdout_, POLLIN, 0};
            if (::poll(&fd, 1, 100) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(stdout_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            output_.append(buffer, static_cast<std::size_t>(n));
        }
        return output_;
    }
    // Exit status, or -1 when the program does not end.
    int wait() {
        for (int i = 0; i < kSafetyMs / 10; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            ::usleep(10000);
        }
        return -1;
    }
    void signal(int number) { ::kill(pid_, number); }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    std::string output_;
};

// One command frame over the line, the way a serial program does it; the reply up to its CR.
std::string lineExchange(const std::string& path, const std::string& frame) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd == -1)
        return "open failed";
    termios settings{};
    ::tcgetattr(fd, &settings);
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    ::tcsetattr(fd, TCSANOW, &settings);
    [[maybe_unused]] auto n = ::write(fd, frame.data(), frame.size());
    std::string reply;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSafetyMs);
    while ((reply.empty() || reply.back() != '\r') && std::chrono::steady_clock::now() < giveUp) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0)
            continue;
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            reply.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return reply;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

std::string temporaryLink() {
    char folder[] = "/tmp/tkm-sim-test-XXXXXX";
    return std::string(::mkdtemp(folder)) + "/tkm";
}

TEST(ProgramTest, RunsInTheBackgroundUntilSignalledAndRemovesItsLink) {
    const std::string link = temporaryLink();
    Program program({"--link", link, "--no-stdin", "--address", "3"});
    program.closeStdin(); // end of input does not matter with --no-stdin
    const std::string slave = firstLine(program.readUntil("\n"));
    ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(slave, target);

    EXPECT_EQ(lineExchange(link, "$03M\r"), "!03TKM-9214\r");
    EXPECT_EQ(lineExchange(link, "$03F\r"), "!031.02\r"); // the host closed and reopened the port

    program.signal(SIGTERM);
    EXPECT_EQ(program.wait(), 0);
    struct stat info {};
    EXPECT_EQ(::lstat(link.c_str(), &info), -1);
    ::rmdir(link.substr(0, link.rfind('/')).c_str());
}

TEST(ProgramTest, CommandsOnStandardInputAndEndOfInput) {
    Program program({});
    const std::string slave = firstLine(program.readUntil("\n"));
    program.send("key 5 Enter\nstate\n");
    EXPECT_NE(program.readUntil("keys waiting: 5 30").find("keys waiting: 5 30"), std::string::npos);
    EXPECT_EQ(lineExchange(slave, "$01K\r"), "!012051E\r");
    program.send("fault silence on\nfault\n");
    program.readUntil("faults: silence\nfaults: silence\n");
    program.send("quit\n");
    EXPECT_EQ(program.wait(), 0);

    Program second({});
    second.readUntil("\n");
    second.closeStdin();
    EXPECT_EQ(second.wait(), 0);
}

TEST(ProgramTest, HelpAndBadOptions) {
    Program help({"--help"});
    EXPECT_NE(help.readUntil("--no-stdin").find("Usage: tkm9214-sim"), std::string::npos);
    EXPECT_EQ(help.wait(), 0);
    Program bad({"--baud", "1234"});
    EXPECT_EQ(bad.wait(), 2);
    Program version({"--version"});
    EXPECT_EQ(version.readUntil("\n"), "tkm9214-sim " TKM_VERSION "\n");
    EXPECT_EQ(version.wait(), 0);
}

TEST(ProgramTest, RefusesToReplaceAFileThatIsNotALink) {
    const std::string link = temporaryLink();
    const int fd = ::open(link.c_str(), O_CREAT | O_WRONLY, 0600);
    ::close(fd);
    Program program({"--link", link, "--no-stdin"});
    EXPECT_EQ(program.wait(), 1);
    struct stat info {};
    EXPECT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    ::unlink(link.c_str());
    ::rmdir(link.substr(0, link.rfind('/')).c_str());
}

} // namespace
