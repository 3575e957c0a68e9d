#pragma once

#include "sim/SimClock.h"
#include "sim/TerminalSettings.h"

#include <chrono>
#include <memory>
#include <string>

namespace tkm::sim {
class SimTerminal;
}

// The built-in simulated terminal: the port chooser offers it as an extra port, and the first time
// that port is wanted a TKM-9214 simulator starts on a fresh pseudo-terminal inside the program and
// the chooser gets the pseudo-terminal's path. The rest of the window does not know the port is
// simulated. Owner thread (the user-interface thread) only; the simulator runs its line on a thread
// of its own (see tkm::sim::SimTerminal).
class SimulatedTerminalPort {
public:
    static constexpr const char* kPortName = "TKM-9214 simulator";

    SimulatedTerminalPort();
    ~SimulatedTerminalPort();
    SimulatedTerminalPort(const SimulatedTerminalPort&) = delete;
    SimulatedTerminalPort& operator=(const SimulatedTerminalPort&) = delete;

    // What the simulated terminal holds when it starts (address 1, 9600 baud, checksum off unless
    // changed). Only before the first path() call.
    void setSettings(const tkm::sim::TerminalSettings& settings);
    // The time its watchdog runs on (null: the steady clock). Only before the first path() call.
    void setClock(std::shared_ptr<const tkm::sim::SimClock> clock);
    // How its line plays: echoing every frame (two-wire RS-485) and the terminal's delay before it
    // answers. Takes effect at once on a running simulator.
    void setLine(bool echo, std::chrono::milliseconds turnaround);

    // The path of the simulated line, starting the simulator on first use. Throws std::runtime_error
    // with the reason when it cannot start.
    std::string path();

    // The running simulator, or nullptr before the first path() call.
    tkm::sim::SimTerminal* simulator() const { return terminal_.get(); }

private:
    tkm::sim::TerminalSettings settings_;
    std::shared_ptr<const tkm::sim::SimClock> clock_;
    bool echo_ = false;
    std::chrono::milliseconds turnaround_{0};
    std::unique_ptr<tkm::sim::SimTerminal> terminal_;
};
