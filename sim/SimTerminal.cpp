#include "sim/SimTerminal.h"

namespace tkm::sim {

SimTerminal::SimTerminal() : SimTerminal(Options{}) {}

SimTerminal::SimTerminal(Options options)
    : model_(options.settings, options.clock ? options.clock : std::make_shared<SteadySimClock>()),
      line_(model_, trace_) {
    line_.setPacing(options.pacing);
    line_.setEcho(options.echo);
    line_.setTurnaround(options.turnaround);
}

SimTerminal::~SimTerminal() {
    stop();
}

std::string SimTerminal::start() {
    return line_.start();
}

void SimTerminal::stop() {
    line_.stop();
}

} // namespace tkm::sim
