#include "terminal/ConfigurationProcedure.h"

#include "protocol/Commands.h"

#include <stdexcept>

namespace tkm::terminal {

namespace proto = tkm::protocol;

ConfigurationProcedure::ConfigurationProcedure(const Connection& now, int newBaudIndex, bool newChecksum)
    : newBaudIndex_(newBaudIndex), newChecksum_(newChecksum),
      needsInitMode_((now.baudIndex != newBaudIndex || now.checksum != std::optional<bool>(newChecksum)) &&
                     now.address != kInitModeAddress),
      writeAddress_(now.address), step_(needsInitMode_ ? Step::PowerCycle : Step::Write) {}

void ConfigurationProcedure::expect(Step step) const {
    if (step_ != step)
        throw std::logic_error("ConfigurationProcedure: a step reported out of its turn");
}

void ConfigurationProcedure::powerCycled() {
    expect(Step::PowerCycle);
    step_ = Step::SwitchToInitMode;
}

void ConfigurationProcedure::switched() {
    expect(Step::SwitchToInitMode);
    writeAddress_ = kInitModeAddress;
    step_ = Step::FindInInitMode;
}

void ConfigurationProcedure::found() {
    expect(Step::FindInInitMode);
    step_ = Step::Write;
}

Result<> ConfigurationProcedure::write(TerminalLine& line, int newAddress, int codePageIndex) {
    expect(Step::Write);
    proto::ConfigurationWrite config;
    config.newAddress = newAddress;
    config.baudIndex = newBaudIndex_;
    config.codePageIndex = codePageIndex;
    config.checksumEnabled = newChecksum_;
    const proto::Command command = proto::WriteConfiguration(writeAddress_, config);
    newAddress_ = newAddress;
    const Result<> written = Send(line, command);
    step_ = written && !takenAtPowerUp() ? Step::Follow : Step::Done;
    return written;
}

void ConfigurationProcedure::followed() {
    expect(Step::Follow);
    step_ = Step::Done;
}

} // namespace tkm::terminal
