#pragma once

#include "sim/LineFaults.h"
#include "sim/LineTrace.h"
#include "sim/PtyLine.h"
#include "sim/SimClock.h"
#include "sim/TerminalModel.h"
#include "sim/TerminalSettings.h"

#include <chrono>
#include <memory>
#include <string>

namespace tkm::sim {

// A simulated TKM-9214 on a fresh pseudo-terminal: open slavePath() like any serial port.
//
//     tkm::sim::SimTerminal terminal;              // address 01, 9600 baud, checksum off
//     if (auto error = terminal.start(); !error.empty()) ...;
//     open(terminal.slavePath().c_str(), ...);     // the host side
//     terminal.model().pressKey(12);               // the front panel
//     terminal.trace().frames(TraceEntry::Direction::ToTerminal);   // what the host sent
//
// Threads: construction, start(), stop(), running(), slavePath() and destruction belong to one owner
// thread. model(), trace(), progress(), waitForReplies(), setFaults(), faults(), setPacing(), pacing(),
// setEcho(), echo(), setTurnaround() and turnaround() may be used from any thread while the line runs (see
// TerminalModel, LineTrace and PtyLine). The line's own thread calls the trace listener.
class SimTerminal {
public:
    struct Options {
        TerminalSettings settings;
        std::shared_ptr<const SimClock> clock; // the watchdog's time; null: SteadySimClock
        bool pacing = false;                   // send replies at the character time of the baud rate
        bool echo = false;                     // every byte received comes back at once (see PtyLine)
        std::chrono::milliseconds turnaround{0}; // the terminal's delay before it answers
    };

    SimTerminal();
    // Throws std::invalid_argument when options.settings do not validate().
    explicit SimTerminal(Options options);
    SimTerminal(const SimTerminal&) = delete;
    SimTerminal& operator=(const SimTerminal&) = delete;
    ~SimTerminal();

    // Opens a fresh pseudo-terminal and starts serving it. Empty on success, else the error text.
    std::string start();
    // Stops the line and closes the pseudo-terminal; the model and the trace stay.
    void stop();
    bool running() const { return line_.running(); }
    // The slave device, e.g. "/dev/pts/3"; empty while stopped.
    std::string slavePath() const { return line_.running() ? line_.slavePath() : std::string(); }

    TerminalModel& model() { return model_; }
    LineTrace& trace() { return trace_; }

    // See PtyLine: how far the line has got, and a wait that stands in for a host's reply wait.
    PtyLine::Progress progress() const { return line_.progress(); }
    bool waitForReplies(std::uint64_t terminators, std::chrono::milliseconds window,
                        std::chrono::milliseconds timeout) const {
        return line_.waitForReplies(terminators, window, timeout);
    }

    void setFaults(const LineFaults& faults) { line_.setFaults(faults); }
    LineFaults faults() const { return line_.faults(); }
    void setPacing(bool on) { line_.setPacing(on); }
    bool pacing() const { return line_.pacing(); }
    void setEcho(bool on) { line_.setEcho(on); }
    bool echo() const { return line_.echo(); }
    void setTurnaround(std::chrono::milliseconds delay) { line_.setTurnaround(delay); }
    std::chrono::milliseconds turnaround() const { return line_.turnaround(); }

private:
    TerminalModel model_;
    LineTrace trace_;
    PtyLine line_; // declared last: it uses the model and the trace until it stops
};

} // namespace tkm::sim
