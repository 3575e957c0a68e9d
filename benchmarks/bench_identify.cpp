// Identification at 115200 baud: the window's, whose every exchange sleeps the fixed reply wait, against
// tkm9214's, whose exchanges end as soon as the reply is whole. Both talk to the built-in simulated
// terminal over a pseudo-terminal, replies paced at the character time of the rate as the hardware
// sends them. Also tkm9214 as a whole process (start, open, identify, close), as a script runs it.
//
//   bench_identify [--runs N]   (default 30; QT_QPA_PLATFORM defaults to offscreen)

#include "app/SimulatedTerminalPort.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "cli/DeviceReport.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBaudIndex = 9; // 115200 in the baud-rate list
constexpr int kSimBaudCode = 10;

struct Figures {
    double min = 0, median = 0, max = 0;
};

Figures Measure(int runs, const std::function<bool()>& once, int* failures) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        if (!once())
            ++*failures;
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], ms.back()};
}

void Print(const char* what, const Figures& f, int failures) {
    std::printf("%-58s min %7.2f  median %7.2f  max %7.2f ms%s\n", what, f.min, f.median, f.max,
                failures ? "  (FAILURES)" : "");
}

tkm::sim::TerminalSettings Settings() {
    tkm::sim::TerminalSettings settings;
    settings.baudCode = kSimBaudCode;
    return settings;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 30;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));

    // The window: nine exchanges (the identification also clears the terminal's display).
    TF1 window;
    window.simulatedPort()->setSettings(Settings());
    window.nrDeviceBox1->Change(
        window.nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName)));
    window.BR->setCurrentIndex(kBaudIndex);
    window.BRChange();
    window.Adr->SetPosition(1);
    window.BOP->SetActive(true);
    window.BOPClick();
    if (!window.nrComm1->GetActive() || !window.simulatedPort()->simulator()) {
        std::printf("the window's simulated port did not open\n");
        return 1;
    }
    window.simulatedPort()->simulator()->setPacing(true);
    window.Timer1->stop();
    int windowFailures = 0;
    const Figures windowFigures = Measure(
        runs, [&] { return window.connection().identify(); }, &windowFailures);

    // tkm9214's identification in this process: eight exchanges.
    tkm::sim::SimTerminal::Options options;
    options.settings = Settings();
    options.pacing = true;
    tkm::sim::SimTerminal terminal(options);
    if (const std::string error = terminal.start(); !error.empty()) {
        std::printf("no simulated terminal: %s\n", error.c_str());
        return 1;
    }
    const QString path = QString::fromStdString(terminal.slavePath());
    const ToolOptions toolOptions =
        ToolOptions::parse({QStringLiteral("tkm9214"), QStringLiteral("--port"), path,
                            QStringLiteral("--baud"), QStringLiteral("115200"), QStringLiteral("identify")});
    int toolFailures = 0;
    Figures toolFigures;
    {
        ToolLine line(toolOptions, {});
        toolFigures = Measure(
            runs,
            [&] {
                try {
                    DeviceReport::read(line);
                    return true;
                } catch (...) {
                    return false;
                }
            },
            &toolFailures);
    }

    // tkm9214 as a script runs it.
    const std::string program = QCoreApplication::applicationDirPath().toStdString() + "/../cli/tkm9214";
    const std::string port = path.toStdString();
    int processFailures = 0;
    const Figures processFigures = Measure(
        runs,
        [&] {
            std::vector<std::string> args{program, "--port", port, "--baud", "115200", "identify"};
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
            pid_t pid = -1;
            const bool spawned =
                ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
            posix_spawn_file_actions_destroy(&actions);
            int status = 0;
            return spawned && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                   WEXITSTATUS(status) == 0;
        },
        &processFailures);

    std::printf("identification at 115200 baud, replies paced at the character time, %d runs each\n", runs);
    Print("window (TerminalConnection::identify, fixed 22 ms waits)", windowFigures, windowFailures);
    Print("tkm9214 in process (DeviceReport::read, reply-end waits)", toolFigures, toolFailures);
    Print("tkm9214 as a process (spawn to exit)", processFigures, processFailures);
    std::printf("tkm9214 takes %.1f %% of the window's time in process, %.1f %% as a process (medians)\n",
                100.0 * toolFigures.median / windowFigures.median,
                100.0 * processFigures.median / windowFigures.median);
    return windowFailures || toolFailures || processFailures ? 1 : 0;
}
