#pragma once

#include <chrono>
#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

// tkm9214 run as a script runs it: its own process, standard input, output and error on pipes.
// Waits are bounded by a safety limit that only a hanging program reaches; nothing sleeps.
class ToolProcess {
public:
    struct Outcome {
        int status = -1; // exit status; -1 when the program did not end (it is killed then)
        std::string out;
        std::string err;
    };

    // output: a file standard output goes to ("/dev/full"); empty: a pipe the test reads.
    // environment: "NAME=value" entries added to the test's own.
    explicit ToolProcess(std::vector<std::string> arguments, const std::string& output = {},
                         const std::vector<std::string>& environment = {});
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    // Runs the tool to its end with nothing on standard input.
    static Outcome run(std::vector<std::string> arguments);

    void send(const std::string& text);
    // Waits until standard error holds `text`; false when the program ended or hung first.
    bool waitForError(const std::string& text);
    // Waits until standard output holds `text`.
    bool waitForOutput(const std::string& text);
    void interrupt() { signal(SIGINT); }
    void signal(int number);
    // Closes the test's end of standard output, as a reader that has had enough (head -1) does.
    void closeOutput();
    // Closes standard input and waits for the end.
    Outcome finish();

    static constexpr std::chrono::seconds kSafety{60};

private:
    // Reads what is there, waiting at most `timeout`; false once both pipes are closed.
    bool pump(std::chrono::milliseconds timeout);
    bool waitFor(const std::string& text, const std::string& in);

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    int err_ = -1;
    Outcome outcome_;
};
