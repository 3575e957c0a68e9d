// A long run of the real window polling the simulated terminal: the Keyboard, DIO and WDT pages in
// turn, each for a given number of exchanges, the poll timer firing back to back (interval 0) and the
// reply wait ending as soon as the simulator's reply is in (SimReplyWait). Now and then the terminal's
// keys are pressed and its inputs change, so that the polls take their other paths too. Reports per
// page the exchanges, the failures (polls that lost the terminal, error boxes), resident memory, open
// descriptors and threads; the goal is no growth beyond 1 MB after the warm-up and none at all in
// descriptors and threads. Exit status 1 when a goal is missed.
//
//   bench_soak [--exchanges N] [--warm-up N]   (defaults 100000 per page, 5000 before measuring)

#include "ProcessProbe.h"
#include "SimulatedWindow.h"

#include "app/AppDialogs.h"
#include "app/DioPage.h"
#include "app/KeyboardPage.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/WdtPage.h"
#include "seriallink/TnrComm.h"
#include "sim/SimTerminal.h"
#include "testkit/SimReplyWait.h"

#include <QApplication>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

struct Reading {
    long rssKiB = 0;
    int descriptors = 0;
    int threads = 0;
};

Reading ReadNow() {
    return {tkm::bench::ReadMemoryStatus().rssKiB, tkm::bench::OpenDescriptorCount(),
            static_cast<int>(tkm::bench::ThreadIds().size())};
}

// Runs the window's own poll ticks until `count` more exchanges have been made.
class Soak {
public:
    Soak(TF1& window, tkm::sim::SimTerminal& sim) : window_(window), sim_(sim) {
        AppDialogs::setExceptionBox([this](const QString& text) {
            ++boxes_;
            std::printf("exception box: %s\n", text.toLocal8Bit().constData());
        });
        AppDialogs::setMessageBox([this](AppDialogs::Icon, AppDialogs::Buttons, const QString& text) {
            ++boxes_;
            std::printf("message box: %s\n", text.toLocal8Bit().constData());
            return true;
        });
        window_.setSleep([this](int milliseconds) { exchange(milliseconds); });
    }

    struct Result {
        long exchanges = 0;
        long lost = 0; // polls that lost the terminal
        long boxes = 0;
        double seconds = 0;
    };

    Result run(long count) {
        const Result before{exchanges_, lost_, boxes_, 0};
        target_ = exchanges_ + count;
        const auto start = std::chrono::steady_clock::now();
        window_.Timer1->setInterval(0); // ticks back to back; each exchange restarts the timer
        window_.Timer1->start();
        loop_.exec();
        window_.Timer1->stop();
        return {exchanges_ - before.exchanges, lost_ - before.lost, boxes_ - before.boxes,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
    }

private:
    void exchange(int milliseconds) {
        const bool found = window_.connection().found();
        if (wasFound_ && !found)
            ++lost_;
        wasFound_ = found;
        ++exchanges_;
        // Keys for the keyboard poll to echo, input levels for the DIO poll to show.
        if (exchanges_ % 97 == 0)
            sim_.model().pressKey(static_cast<int>(exchanges_ / 97 % 30) + 1);
        if (exchanges_ % 89 == 0)
            sim_.model().setInputs(static_cast<std::uint8_t>(exchanges_ / 89));
        wait_(milliseconds);
        // The trace would keep its newest 10000 entries; the wait has read what it needs.
        sim_.trace().clear();
        if (exchanges_ >= target_)
            loop_.quit();
    }

    TF1& window_;
    tkm::sim::SimTerminal& sim_;
    SimReplyWait wait_{sim_.trace(),
                       [this] { return static_cast<std::size_t>(window_.nrComm1->GetReadyForRead()); }};
    QEventLoop loop_;
    long exchanges_ = 0;
    long target_ = 0;
    long lost_ = 0;
    long boxes_ = 0;
    bool wasFound_ = false;
};

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    long perPage = 100000;
    long warmUp = 5000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--exchanges") == 0)
            perPage = std::max(1L, std::atol(argv[i + 1]));
        else if (std::strcmp(argv[i], "--warm-up") == 0)
            warmUp = std::max(0L, std::atol(argv[i + 1]));
    }

    TF1 window;
    window.show();
    tkm::sim::SimTerminal* sim = OpenSimulatedTerminal(window, {}, 5);
    if (!sim) {
        std::printf("the simulated port did not open\n");
        return 1;
    }
    Soak soak(window, *sim);
    const Reading opened = ReadNow();
    // The traffic log fills to its 2000 lines and is cleared; the allocator settles.
    window.Page->setCurrentWidget(window.Keyboard);
    soak.run(warmUp);
    const Reading start = ReadNow();
    std::printf(
        "after opening: RSS %ld KiB, %d descriptors, %d threads; after %ld warm-up exchanges: RSS %ld "
        "KiB, %d descriptors, %d threads\n",
        opened.rssKiB, opened.descriptors, opened.threads, warmUp, start.rssKiB, start.descriptors,
        start.threads);

    bool met = true;
    long failures = 0;
    for (QWidget* page : {static_cast<QWidget*>(window.Keyboard), static_cast<QWidget*>(window.DIO),
                          static_cast<QWidget*>(window.WDTimer)}) {
        window.Page->setCurrentWidget(page);
        const Reading before = ReadNow();
        const std::uint64_t framesBefore = sim->progress().terminatorsReceived;
        const Soak::Result result = soak.run(perPage);
        const Reading after = ReadNow();
        const std::uint64_t frames = sim->progress().terminatorsReceived - framesBefore;
        failures += result.lost + result.boxes;
        std::printf("%-8s %ld exchanges (%llu frames on the line) in %.1f s (%.0f/s), %ld lost the terminal, "
                    "%ld boxes; "
                    "RSS %ld -> %ld KiB (%+ld), descriptors %d -> %d, threads %d -> %d\n",
                    page->objectName().toLatin1().constData(), result.exchanges,
                    static_cast<unsigned long long>(frames), result.seconds,
                    static_cast<double>(result.exchanges) / result.seconds, result.lost, result.boxes,
                    before.rssKiB, after.rssKiB, after.rssKiB - before.rssKiB, before.descriptors,
                    after.descriptors, before.threads, after.threads);
    }
    const Reading end = ReadNow();
    const long growth = end.rssKiB - start.rssKiB;
    const bool memoryMet = growth <= 1024;
    const bool descriptorsMet = end.descriptors <= start.descriptors;
    const bool threadsMet = end.threads <= start.threads;
    met = memoryMet && descriptorsMet && threadsMet && failures == 0;
    std::printf("whole run: RSS %ld -> %ld KiB (%+ld KiB, goal at most +1024): %s; descriptors %d -> %d: %s; "
                "threads %d -> %d: %s; failures %ld: %s\n",
                start.rssKiB, end.rssKiB, growth, memoryMet ? "met" : "NOT MET", start.descriptors,
                end.descriptors, descriptorsMet ? "met" : "NOT MET", start.threads, end.threads,
                threadsMet ? "met" : "NOT MET", failures, failures == 0 ? "none" : "SOME");
    return met ? 0 : 1;
}
