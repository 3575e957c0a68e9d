// Whether the WDT page's host-alive messages keep a short watchdog period alive in real time. The real
// window opens the built-in simulated terminal (its watchdog on the steady clock), finds it, shows the
// WDT page and switches the watchdog on with the period under test. Then the poll timer runs in five
// phases of --seconds each: plainly, behind the real exception box, behind the real file dialog, with a
// "Read WDT" click in the middle, and with a "RESET Status" click (the status green) in the middle. The
// simulator's trace stamps each "~**" as it arrives; the gaps between them are what the terminal's
// watchdog sees. The terminal's module status, looked at after every tick, tells whether it ran out (it
// is reset after each phase).
//
//   bench_watchdog [--seconds N] [--periods 4,5,6,9]   (default 5 s per phase; 9600 and 115200 baud)

#include "SimulatedWindow.h"

#include "app/AppDialogs.h"
#include "app/FileDialog.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/WdtPage.h"
#include "protocol/Transact.h"
#include "sim/SimTerminal.h"
#include "sim/TerminalState.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using tkm::sim::TraceEntry;

bool RunEventLoopUntil(const std::function<bool()>& done, int capMs) {
    QElapsedTimer cap;
    cap.start();
    while (!done() && cap.elapsed() < capMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// Closes whatever modal box is open once `milliseconds` have passed (trying again until one is).
void CloseModalBoxAfter(int milliseconds) {
    QTimer::singleShot(milliseconds, [] {
        auto* closer = new QTimer;
        QObject::connect(closer, &QTimer::timeout, closer, [closer] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                box->close();
                closer->deleteLater();
            }
        });
        closer->start(20);
    });
}

struct Gaps {
    std::size_t messages = 0;
    double shortest = 0, median = 0, longest = 0;
};

// Host-alive to host-alive, in milliseconds, for the frames with sequence numbers in [from, to).
Gaps HostAliveGaps(const std::vector<TraceEntry>& entries, std::uint64_t from, std::uint64_t to) {
    std::vector<double> times;
    for (const TraceEntry& entry : entries) {
        if (entry.sequence >= from && entry.sequence < to &&
            entry.direction == TraceEntry::Direction::ToTerminal && entry.bytes == "~**\r")
            times.push_back(static_cast<double>(entry.time.count()) / 1000.0);
    }
    Gaps gaps;
    gaps.messages = times.size();
    std::vector<double> between;
    for (std::size_t i = 1; i < times.size(); ++i)
        between.push_back(times[i] - times[i - 1]);
    if (between.empty())
        return gaps;
    std::sort(between.begin(), between.end());
    gaps.shortest = between.front();
    gaps.median = between[between.size() / 2];
    gaps.longest = between.back();
    return gaps;
}

std::string LoadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return "?";
    return file.readLine().simplified().toStdString();
}

std::vector<int> ParsePeriods(const char* text) {
    std::vector<int> periods;
    for (const QString& part : QString::fromLatin1(text).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int p = part.toInt(&ok);
        if (ok && p >= 1 && p <= 255)
            periods.push_back(p);
    }
    return periods;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int seconds = 5;
    std::vector<int> periods = {4, 5, 6, 9};
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--periods") == 0)
            periods = ParsePeriods(argv[i + 1]);
    }
    const int phaseMs = seconds * 1000;
    std::printf("load average before: %s\n", LoadAverage().c_str());

    for (const int baudIndex : {5, 9}) {
        const int expected =
            tkm::protocol::PollIntervalMs(baudIndex) + 2 * tkm::protocol::ReplyWaitMs(baudIndex, 0);
        for (const int period : periods) {
            tkm::sim::TerminalSettings settings;
            settings.baudCode = baudIndex + 1;
            TF1 window;
            window.show();
            tkm::sim::SimTerminal* sim = OpenSimulatedTerminal(window, settings, baudIndex);
            if (!sim || !RunEventLoopUntil([&] { return window.connection().found(); }, 5000)) {
                std::printf("the simulated terminal was not found\n");
                return 1;
            }
            window.Page->setCurrentWidget(window.WDTimer);
            WdtPage& page = *window.WDTimer;
            page.WDTT->SetPosition(period);
            page.WDTEN->SetActive(true);
            page.WDTENClick();
            RunEventLoopUntil([&] { return sim->model().state().watchdogEnabled; }, 5000);
            RunEventLoopFor(1000);

            struct Phase {
                const char* name;
                std::function<void()> run;
            };
            const Phase phases[] = {
                {"plain", [&] { RunEventLoopFor(phaseMs); }},
                {"exception box",
                 [&] {
                     CloseModalBoxAfter(phaseMs);
                     AppDialogs::showException(QStringLiteral("bench_watchdog: a box left open"));
                 }},
                {"file dialog",
                 [&] {
                     CloseModalBoxAfter(phaseMs);
                     window.OpenDialog1->Execute();
                 }},
                {"Read WDT click",
                 [&] {
                     RunEventLoopFor(phaseMs / 2);
                     page.RWDTClick();
                     RunEventLoopFor(phaseMs - phaseMs / 2);
                 }},
                {"RESET Status click",
                 [&] {
                     RunEventLoopFor(phaseMs / 2);
                     page.Button18Click();
                     RunEventLoopFor(phaseMs - phaseMs / 2);
                 }},
            };
            std::printf("%6s baud, period %d (%d ms), expected gap %d ms:\n",
                        window.BR->currentText().toLatin1().constData(), period, period * 100, expected);
            // The terminal's status after every tick: an alarm cleared later in the phase still counts.
            bool ranOut = false;
            QObject::connect(window.Timer1, &QTimer::timeout, &window, [&] {
                ranOut = ranOut || sim->model().state().moduleStatus == tkm::sim::kWatchdogAlarmStatus;
            });
            for (const Phase& phase : phases) {
                ranOut = false;
                const std::uint64_t from = sim->trace().total();
                phase.run();
                const std::uint64_t to = sim->trace().total();
                const Gaps gaps = HostAliveGaps(sim->trace().entries(), from, to);
                ranOut = ranOut || sim->model().state().moduleStatus == tkm::sim::kWatchdogAlarmStatus;
                std::printf("  %-20s %3zu host-alive, gap %.1f / %.1f / %.1f ms (min/median/max): %s\n",
                            phase.name, gaps.messages, gaps.shortest, gaps.median, gaps.longest,
                            ranOut ? "ALARM" : "alive");
                if (ranOut)
                    sim->model().receiveFrame("~011"); // cleared for the next phase
                RunEventLoopFor(1000);                 // the page reads the status back
            }
            window.Timer1->stop();
        }
    }
    std::printf("load average after: %s\n", LoadAverage().c_str());
    return 0;
}
