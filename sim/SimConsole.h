#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tkm::sim {

class SimTerminal;

// The commands of tkm9214-sim's standard input: front panel, wiring, power, faults, state and trace.
// Threads: execute() runs on one thread (the program's main thread); the live-trace sink is called on
// the line thread.
class SimConsole {
public:
    struct Outcome {
        std::string output; // to print, may be empty
        bool quit = false;
    };
    using Sink = std::function<void(const std::string& line)>;

    // liveTrace receives each trace line while "trace live on".
    SimConsole(SimTerminal& terminal, Sink liveTrace);
    ~SimConsole();

    Outcome execute(std::string_view line);
    void setLiveTrace(bool on);

    static std::string help();
    // Key code of a key number or name (F1..F10, ESC, Clear, Menu, +/-, Up, Dip, Left, Down, Right,
    // Enter, d0..d9 for the digit keys); 0 when there is none.
    static int keyCode(std::string_view word);

private:
    std::string faultCommand(const std::vector<std::string>& words);
    std::string traceCommand(const std::vector<std::string>& words);

    SimTerminal& terminal_;
    Sink liveTrace_;
};

} // namespace tkm::sim
