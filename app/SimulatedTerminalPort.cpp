#include "app/SimulatedTerminalPort.h"

#include "sim/SimTerminal.h"

#include <stdexcept>
#include <utility>

SimulatedTerminalPort::SimulatedTerminalPort() = default;
SimulatedTerminalPort::~SimulatedTerminalPort() = default;

void SimulatedTerminalPort::setSettings(const tkm::sim::TerminalSettings& settings) {
    settings_ = settings;
}

void SimulatedTerminalPort::setClock(std::shared_ptr<const tkm::sim::SimClock> clock) {
    clock_ = std::move(clock);
}

void SimulatedTerminalPort::setLine(bool echo, std::chrono::milliseconds turnaround) {
    echo_ = echo;
    turnaround_ = turnaround;
    if (terminal_) {
        terminal_->setEcho(echo);
        terminal_->setTurnaround(turnaround);
    }
}

std::string SimulatedTerminalPort::path() {
    if (!terminal_) {
        tkm::sim::SimTerminal::Options options;
        options.settings = settings_;
        options.clock = clock_;
        options.echo = echo_;
        options.turnaround = turnaround_;
        auto terminal = std::make_unique<tkm::sim::SimTerminal>(options);
        if (const std::string error = terminal->start(); !error.empty())
            throw std::runtime_error("The TKM-9214 simulator did not start: " + error);
        terminal_ = std::move(terminal);
    }
    return terminal_->slavePath();
}
