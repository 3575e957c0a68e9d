// What an open, polling main window costs while nobody touches it. The real window (offscreen unless
// QT_QPA_PLATFORM says otherwise) opens a port, lets its poll timer identify the terminal, and then
// runs its event loop undisturbed while the process's and each thread's CPU time and wake-ups are
// measured. Variants:
//   display   the built-in simulated terminal, identified, Display page shown (the poll sends nothing)
//   keyboard  the same with the Keyboard page shown (one key poll per poll tick)
//   silent    a pseudo-terminal whose other side stays open and never answers (identification is
//             tried, and fails, on every poll tick)
//   floor     no port and none of our widgets: a bare Qt window of the main window's size does only
//             what a polling exchange must (wake for the tick, let messages run once, sleep the reply
//             wait, paint a lamp lit and dark). What that costs on this machine is the floor the
//             Keyboard page's figure stands on.
//
//   bench_idle [--seconds N] [--variant display|keyboard|silent|floor|all or a list, e.g. keyboard,floor]
//              [--stop-highlight-timer] [--log-lines N]
//   (default 20 s, all variants; --stop-highlight-timer stops Timer3 to show its share; --log-lines
//   fills the traffic log with N lines first: a short log moves its scroll bar's handle, and repaints
//   the bar, with every line, a long one only now and then)

#include "ProcessProbe.h"
#include "SilentLine.h"

#include "app/KeyboardPage.h"
#include "app/SimulatedTerminalPort.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/TrafficMemo.h"
#include "protocol/Commands.h"
#include "protocol/Transact.h"
#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unistd.h>

namespace {

using tkm::bench::ThreadSample;

// Of one core: a page that only waits, and a page that polls (or a line that never answers, where every
// tick tries to identify).
constexpr double kIdleGoalPercent = 0.05;
constexpr double kPollingGoalPercent = 0.15;
const QString kSilentPortName = QStringLiteral("silent line");

void RunEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() or the time is up; true when done.
template <typename Done> bool RunEventLoopUntil(Done done, int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < milliseconds)
        RunEventLoopFor(20);
    return done();
}

std::set<int> NewThreads(const std::set<int>& before) {
    std::set<int> added;
    for (int tid : tkm::bench::ThreadIds())
        if (!before.count(tid))
            added.insert(tid);
    return added;
}

std::set<int> CurrentThreads() {
    const std::vector<int> ids = tkm::bench::ThreadIds();
    return {ids.begin(), ids.end()};
}

// The two port workers are told apart by what they block in: the comm thread waits on epoll, the
// message thread on its condition variable.
std::string WorkerLabel(int tid) {
    const std::string channel = tkm::bench::ThreadWaitChannel(tid);
    if (channel.find("epoll") != std::string::npos)
        return "comm thread";
    if (channel.find("futex") != std::string::npos)
        return "msg thread";
    return "port worker";
}

struct VariantResult {
    double utilityPercent = 0;
    quint64 commWakeups = 0;
    long exchanges = 0;
    double uiMsPerExchange = 0;
    bool identified = false;
};

// The floor variant's lamp: one fill, the least a lamp can draw.
class BareLamp : public QWidget {
public:
    explicit BareLamp(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    void setLit(bool lit) {
        lit_ = lit;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), lit_ ? Qt::green : Qt::darkGreen);
    }

private:
    bool lit_ = false;
};

// UI-thread CPU per tick of the bare exchange skeleton, at the pace of the window's own poll.
double RunFloor(int seconds) {
    std::printf("\n=== variant floor: a bare Qt window doing only an exchange's skeleton, %d s ===\n",
                seconds);
    QSize size;
    QRect lampArea;
    int baudIndex = 0;
    {
        TF1 window; // only to take the main window's size, its lamp's place and its baud rate
        size = window.size();
        lampArea = QRect(window.led->mapTo(&window, QPoint()), window.led->size());
        baudIndex = window.BR->currentIndex();
    }
    QWidget window;
    window.resize(size);
    BareLamp lamp(&window);
    lamp.setGeometry(lampArea);
    window.show();
    RunEventLoopFor(500);

    QTimer tick;
    tick.setInterval(tkm::protocol::PollIntervalMs(baudIndex));
    long ticks = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        tick.stop();
        lamp.setLit(true);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QCoreApplication::eventDispatcher()->wakeUp(); // as the window's message pump does
        ::usleep(static_cast<useconds_t>(tkm::protocol::ReplyWaitMs(baudIndex, 0)) * 1000);
        lamp.setLit(false);
        tick.start();
        ++ticks;
    });
    tick.start();
    RunEventLoopFor(1500);

    const double cpu0 = tkm::bench::SampleThread(::getpid()).cpuSeconds;
    const long ticks0 = ticks;
    RunEventLoopFor(seconds * 1000);
    const double cpu = tkm::bench::SampleThread(::getpid()).cpuSeconds - cpu0;
    const long counted = ticks - ticks0;
    tick.stop();
    if (counted <= 0)
        return 0;
    const double perTick = cpu * 1000 / static_cast<double>(counted);
    std::printf("ticks: %ld; UI thread per tick: %.3f ms of CPU\n", counted, perTick);
    return perTick;
}

std::optional<VariantResult> RunVariant(const std::string& variant, int seconds, bool stopHighlightTimer,
                                        int logLines) {
    const bool silent = variant == "silent";
    std::printf("\n=== variant %s: %s, %d s ===\n", variant.c_str(),
                silent ? "port open on a silent pseudo-terminal"
                       : (variant == "keyboard" ? "simulated terminal, Keyboard page (key poll every tick)"
                                                : "simulated terminal, Display page"),
                seconds);

    std::map<int, std::string> labels;
    const std::set<int> atStart = CurrentThreads();
    std::optional<tkm::bench::SilentLine> silentLine; // outlives the window, which closes the port
    TF1 window;
    window.show();
    RunEventLoopFor(200);
    for (int tid : NewThreads(atStart))
        labels[tid] = "Qt helper";

    // Address 1 before the port opens, so that the poll timer does the identification.
    window.Adr->SetPosition(1);
    std::set<int> before = CurrentThreads();
    if (silent) {
        silentLine.emplace();
        if (!silentLine->error().empty()) {
            std::printf("no pseudo-terminal: %s\n", silentLine->error().c_str());
            return std::nullopt;
        }
        window.nrComm1->AddExtraPort(kSilentPortName, QString::fromStdString(silentLine->slavePath()));
        window.nrDeviceBox1->Reload();
        window.nrDeviceBox1->Change(window.nrDeviceBox1->findText(kSilentPortName));
    } else {
        // The chooser starts the simulator when the port opens; starting it here first tells its line
        // thread apart from the port's workers.
        window.simulatedPort()->path();
        for (int tid : NewThreads(before))
            labels[tid] = "simulator line";
        window.nrDeviceBox1->Change(
            window.nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName)));
    }
    before = CurrentThreads();
    window.BOP->SetActive(true);
    window.BOPClick();
    if (!window.nrComm1->GetActive()) {
        std::printf("the port did not open\n");
        return std::nullopt;
    }
    const std::set<int> workers = NewThreads(before);
    if (variant == "keyboard") {
        window.Page->setCurrentWidget(window.Keyboard);
    }

    VariantResult result;
    if (!silent) {
        result.identified = RunEventLoopUntil([&] { return window.connection().found(); }, 10000);
        std::printf("poll timer identified the terminal: %s\n", result.identified ? "yes" : "NO");
    }
    RunEventLoopFor(1500); // the page's entry screen, first polls, lazily created things
    for (int tid : workers)
        labels[tid] = WorkerLabel(tid);
    if (logLines > 0) {
        QStringList lines;
        for (int i = 1; i <= logLines; ++i)
            lines.append(QStringLiteral("%1\t$01K --> !010").arg(i));
        window.RCVS->appendLines(lines);
        RunEventLoopFor(300);
        std::printf("traffic log filled with %d lines first\n", logLines);
    }
    if (stopHighlightTimer) {
        window.Keyboard->Timer3->stop();
        std::printf("highlight timer Timer3 stopped for this run\n");
    }

    auto frames = [&]() -> long {
        if (silentLine)
            return silentLine->DrainFrames();
        return static_cast<long>(window.simulatedPort()->simulator()->progress().terminatorsReceived);
    };

    std::map<int, ThreadSample> first;
    for (const ThreadSample& s : tkm::bench::SampleThreads())
        first[s.tid] = s;
    const double cpu0 = tkm::bench::ProcessCpuSeconds();
    const quint64 wakes0 = window.nrComm1->CommThreadWakeups();
    const long frames0 = frames();
    const long long t0 = tkm::bench::MonotonicNs();

    RunEventLoopFor(seconds * 1000);

    const long long t1 = tkm::bench::MonotonicNs();
    const double cpu1 = tkm::bench::ProcessCpuSeconds();
    const quint64 wakes1 = window.nrComm1->CommThreadWakeups();
    const long frames1 = frames();
    const std::vector<ThreadSample> last = tkm::bench::SampleThreads();

    const double wall = static_cast<double>(t1 - t0) * 1e-9;
    auto percent = [wall](double cpuSeconds) { return 100.0 * cpuSeconds / wall; };
    const double processCpu = cpu1 - cpu0;
    result.commWakeups = wakes1 - wakes0;
    result.exchanges = silent ? frames1 : frames1 - frames0;

    std::printf("%-20s %8s %10s %9s %10s %9s\n", "thread", "tid", "cpu ms", "% core", "wake-ups", "wakes/s");
    double simulatorCpu = 0;
    double uiCpu = 0;
    for (const ThreadSample& s : last) {
        const auto it = first.find(s.tid);
        if (it == first.end())
            continue;
        const double cpu = s.cpuSeconds - it->second.cpuSeconds;
        const long wakes = s.voluntarySwitches - it->second.voluntarySwitches;
        std::string label =
            s.tid == ::getpid() ? "main (UI)" : (labels.count(s.tid) ? labels[s.tid] : s.name);
        if (label == "simulator line")
            simulatorCpu += cpu;
        if (s.tid == ::getpid())
            uiCpu = cpu;
        std::printf("%-20s %8d %10.2f %8.3f%% %10ld %9.2f\n", label.c_str(), s.tid, cpu * 1000, percent(cpu),
                    wakes, static_cast<double>(wakes) / wall);
    }
    result.utilityPercent = percent(processCpu - simulatorCpu);
    std::printf("wall %.2f s, process cpu %.2f ms = %.3f%% of one core\n", wall, processCpu * 1000,
                percent(processCpu));
    if (!silent)
        std::printf("utility without the simulator thread: %.2f ms = %.3f%% of one core\n",
                    (processCpu - simulatorCpu) * 1000, result.utilityPercent);
    std::printf("exchanges (frames sent): %ld (%.2f/s); comm thread wake-ups counted by the link: %llu",
                result.exchanges, static_cast<double>(result.exchanges) / wall,
                static_cast<unsigned long long>(result.commWakeups));
    if (result.exchanges > 0) {
        std::printf(" = %.2f per exchange",
                    static_cast<double>(result.commWakeups) / static_cast<double>(result.exchanges));
        result.uiMsPerExchange = uiCpu * 1000 / static_cast<double>(result.exchanges);
        std::printf("\nUI thread per exchange: %.3f ms of CPU", result.uiMsPerExchange);
    }
    const double goal = variant == "display" ? kIdleGoalPercent : kPollingGoalPercent;
    std::printf("\ngoal: utility under %.2f%% of one core -> %s\n", goal,
                result.utilityPercent < goal ? "met" : "NOT met");
    if (result.exchanges == 0)
        std::printf("goal: comm thread never wakes without a line event -> %s (%llu wake-ups, no traffic)\n",
                    result.commWakeups == 0 ? "met" : "NOT met",
                    static_cast<unsigned long long>(result.commWakeups));
    window.Timer1->stop();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int seconds = 20;
    std::string variant = "all";
    bool stopHighlightTimer = false;
    int logLines = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--variant") && i + 1 < argc)
            variant = argv[++i];
        else if (!std::strcmp(argv[i], "--stop-highlight-timer"))
            stopHighlightTimer = true;
        else if (!std::strcmp(argv[i], "--log-lines") && i + 1 < argc)
            logLines = std::clamp(std::atoi(argv[++i]), 0, 1900);
        else {
            std::fprintf(stderr,
                         "usage: %s [--seconds N] [--variant display|keyboard|silent|floor|all or a list,"
                         " e.g. keyboard,floor] [--stop-highlight-timer] [--log-lines N]\n",
                         argv[0]);
            return 2;
        }
    }
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    std::printf("bench_idle: %ld cores online, load average %.2f, platform %s\n",
                ::sysconf(_SC_NPROCESSORS_ONLN), tkm::bench::LoadAverage(),
                qPrintable(QGuiApplication::platformName()));

    std::vector<std::string> variants;
    if (variant == "all")
        variants = {"display", "keyboard", "silent", "floor"};
    else
        for (const QString& v : QString::fromStdString(variant).split(QLatin1Char(','), Qt::SkipEmptyParts))
            variants.push_back(v.toStdString());
    for (const std::string& v : variants)
        if (v != "display" && v != "keyboard" && v != "silent" && v != "floor") {
            std::fprintf(stderr, "unknown variant %s\n", v.c_str());
            return 2;
        }
    int failures = 0;
    double keyboardMs = 0;
    double floorMs = 0;
    for (const std::string& v : variants) {
        if (v == "floor") {
            floorMs = RunFloor(seconds);
            continue;
        }
        const std::optional<VariantResult> result = RunVariant(v, seconds, stopHighlightTimer, logLines);
        if (!result)
            ++failures;
        else if (v == "keyboard")
            keyboardMs = result->uiMsPerExchange;
    }
    if (keyboardMs > 0 && floorMs > 0)
        std::printf(
            "\nKeyboard page per exchange: %.3f ms = the floor's %.3f ms + %.3f ms of the exchange's own "
            "work\n",
            keyboardMs, floorMs, keyboardMs - floorMs);
    return failures ? 1 : 0;
}
