// When the poll ticks come. The poll timer starts again when an exchange ends, and the terminal is
// promised a whole interval from there to the next tick's frame. The real window opens the built-in
// simulated terminal, powered off so that every tick sends one identification frame and waits the full
// reply wait; the simulator's trace stamps each frame as it arrives. Frame to frame must never be
// shorter than the reply wait plus the poll interval.
//
//   bench_ticks [--seconds N]   (default 8 s per baud rate; rates 2400, 9600 and 115200)

#include "SimulatedWindow.h"

#include "app/TF1.h"
#include "protocol/Transact.h"
#include "sim/SimTerminal.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int seconds = 8;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(1, std::atoi(argv[i + 1]));

    bool early = false;
    for (const int baudIndex : {3, 5, 9}) {
        tkm::sim::TerminalSettings settings;
        settings.baudCode = baudIndex + 1;
        TF1 window;
        window.show();
        tkm::sim::SimTerminal* sim = OpenSimulatedTerminal(window, settings, baudIndex);
        if (!sim) {
            std::printf("the simulated port did not open\n");
            return 1;
        }
        sim->model().powerOff();
        sim->trace().clear();
        RunEventLoopFor(seconds * 1000);
        window.Timer1->stop();

        std::vector<std::chrono::microseconds> frames;
        for (const tkm::sim::TraceEntry& entry : sim->trace().entries())
            if (entry.direction == tkm::sim::TraceEntry::Direction::ToTerminal)
                frames.push_back(entry.time);
        const int promised =
            tkm::protocol::ReplyWaitMs(baudIndex, 0) + tkm::protocol::PollIntervalMs(baudIndex);
        double shortest = 1e9, longest = 0;
        for (std::size_t i = 1; i < frames.size(); ++i) {
            const double ms = static_cast<double>((frames[i] - frames[i - 1]).count()) / 1000.0;
            shortest = std::min(shortest, ms);
            longest = std::max(longest, ms);
        }
        const bool ok = frames.size() > 1 && shortest >= promised;
        early = early || !ok;
        std::printf(
            "%6s baud: %zu frames, frame to frame %.2f .. %.2f ms, promised at least %d ms (wait %d + "
            "interval %d): %s\n",
            window.BR->currentText().toLatin1().constData(), frames.size(), shortest, longest, promised,
            tkm::protocol::ReplyWaitMs(baudIndex, 0), tkm::protocol::PollIntervalMs(baudIndex),
            ok ? "met" : "EARLY");
    }
    return early ? 1 : 0;
}
