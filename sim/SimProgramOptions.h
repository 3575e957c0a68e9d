#pragma once

#include "sim/TerminalSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace tkm::sim {

// The command line of tkm9214-sim.
struct SimProgramOptions {
    TerminalSettings settings;
    std::string link;      // symbolic link to the slave device; empty: none
    bool readStdin = true; // false: run until a signal, for background use
    bool pacing = false;
    bool echo = false;
    int turnaroundMs = 0;
    bool trace = false;
    bool help = false;
    bool version = false;

    // Arguments without the program name. On failure error holds what is wrong and nothing is returned.
    static std::optional<SimProgramOptions> parse(const std::vector<std::string>& arguments,
                                                  std::string& error);
    static std::string usage();
};

} // namespace tkm::sim
