#include "app/SimulatedTerminalPort.h"

SimulatedTerminalPort::SimulatedTerminalPort() = default;
SimulatedTerminalPort::~SimulatedTerminalPort() = default;

std::string SimulatedTerminalPort::path() {
    return {};
}
