#include "ToolProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ToolProcess::ToolProcess(std::vector<std::string> arguments, const std::string& output,
                         const std::vector<std::string>& environment) {
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) == -1 || ::pipe2(out, O_CLOEXEC) == -1 || ::pipe2(err, O_CLOEXEC) == -1)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    if (output.empty())
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<std::string> variables = environment;
    for (char** e = environ; *e; ++e)
        variables.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    arguments.insert(arguments.begin(), TKM_TOOL_PROGRAM);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, TKM_TOOL_PROGRAM, &actions, nullptr, argv.data(), envp.data()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    in_ = in[1];
    out_ = out[0];
    err_ = err[0];
}

ToolProcess::~ToolProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    for (int fd : {in_, out_, err_}) {
        if (fd >= 0)
            ::close(fd);
    }
}

ToolProcess::Outcome ToolProcess::run(std::vector<std::string> arguments) {
    ToolProcess tool(std::move(arguments));
    return tool.finish();
}

void ToolProcess::send(const std::string& text) {
    [[maybe_unused]] const ssize_t n = ::write(in_, text.data(), text.size());
}

void ToolProcess::signal(int number) {
    if (pid_ > 0)
        ::kill(pid_, number);
}

void ToolProcess::closeOutput() {
    if (out_ >= 0) {
        ::close(out_);
        out_ = -1;
    }
}

bool ToolProcess::pump(std::chrono::milliseconds timeout) {
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    if (out_ < 0 && err_ < 0)
        return false;
    if (::poll(fds, 2, static_cast<int>(timeout.count())) <= 0)
        return true;
    std::string* into[2] = {&outcome_.out, &outcome_.err};
    int* fd[2] = {&out_, &err_};
    for (int i = 0; i < 2; ++i) {
        if (*fd[i] < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[4096];
        const ssize_t n = ::read(*fd[i], buffer, sizeof buffer);
        if (n > 0) {
            into[i]->append(buffer, static_cast<std::size_t>(n));
        } else {
            ::close(*fd[i]);
            *fd[i] = -1;
        }
    }
    return true;
}

bool ToolProcess::waitFor(const std::string& text, const std::string& in) {
    const auto giveUp = std::chrono::steady_clock::now() + kSafety;
    while (in.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > giveUp || !pump(std::chrono::milliseconds(100)))
            return false;
    }
    return true;
}

bool ToolProcess::waitForError(const std::string& text) {
    return waitFor(text, outcome_.err);
}

bool ToolProcess::waitForOutput(const std::string& text) {
    return waitFor(text, outcome_.out);
}

ToolProcess::Outcome ToolProcess::finish() {
    if (in_ >= 0) {
        ::close(in_);
        in_ = -1;
    }
    const auto giveUp = std::chrono::steady_clock::now() + kSafety;
    while (pump(std::chrono::milliseconds(100)) && std::chrono::steady_clock::now() < giveUp) {
    }
    if (pid_ > 0) {
        int status = 0;
        if (out_ >= 0 || err_ >= 0)
            ::kill(pid_, SIGKILL); // hung
        ::waitpid(pid_, &status, 0);
        outcome_.status = WIFEXITED(status) && (out_ < 0 && err_ < 0) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
    }
    return outcome_;
}
