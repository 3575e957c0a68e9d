#pragma once

#include <memory>
#include <string>

// The built-in simulated terminal: offered by the port chooser as an extra port, it starts a
// TKM-9214 simulator on a fresh pseudo-terminal the first time the port is wanted and gives the
// chooser the pseudo-terminal's path. The rest of the window does not know the port is simulated.
class SimulatedTerminalPort {
public:
    SimulatedTerminalPort();
    ~SimulatedTerminalPort();

    // The path of the simulated line, starting the simulator on first use; empty if it cannot start.
    std::string path();
};
