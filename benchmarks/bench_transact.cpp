// What one command exchange costs beyond its reply wait. Transact runs with the real sleep against the
// simulated terminal on a pseudo-terminal, through three hosts: a bare tty port, the serial link
// (TnrComm) alone, and the main window (TF1::Transact, with its traffic memo). Each iteration is one
// exchange; the counters give the time above the reply wait. Then what the window's lamp and memo cost,
// and pure-CPU microbenchmarks of the frame and of a transaction against an in-memory port.
//
//   bench_transact [--benchmark_filter=...]   (QT_QPA_PLATFORM defaults to offscreen)

#include "RawPtyPort.h"

#include "app/CommTransactPort.h"
#include "app/KeyboardPage.h"
#include "app/SimulatedTerminalPort.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/TrafficMemo.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/Transact.h"
#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"
#include "testkit/StringListLog.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <utility>

namespace {

namespace p = tkm::protocol;
using Clock = std::chrono::steady_clock;

constexpr int kAddress = 1;

struct Line {
    int baudIndex; // position in the window's baud-rate list
    int baudRate;
    int simBaudCode; // the terminal's own code for the same rate
};

Line LineFor(int baudIndex) {
    return baudIndex == 9 ? Line{9, 115200, 10} : Line{5, 9600, 6};
}

std::unique_ptr<tkm::sim::SimTerminal> StartTerminal(const Line& line) {
    tkm::sim::TerminalSettings settings;
    settings.address = kAddress;
    settings.baudCode = line.simBaudCode;
    // Replies leave at the character time of the rate, as from the real terminal.
    auto terminal = std::make_unique<tkm::sim::SimTerminal>(
        tkm::sim::SimTerminal::Options{settings, nullptr, /*pacing=*/true});
    if (const std::string error = terminal->start(); !error.empty())
        return nullptr;
    return terminal;
}

// Times each exchange and reports how far it ran past the reply wait.
void MeasureExchanges(benchmark::State& state, int waitMs, const std::function<std::string()>& exchange) {
    double sumUs = 0;
    double maxUs = 0;
    double minUs = std::numeric_limits<double>::max();
    long failures = 0;
    long count = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const std::string result = exchange();
        const double us =
            std::chrono::duration<double, std::micro>(Clock::now() - start).count() - waitMs * 1000.0;
        sumUs += us;
        maxUs = std::max(maxUs, us);
        minUs = std::min(minUs, us);
        ++count;
        if (p::IsTransactError(result))
            ++failures;
    }
    state.counters["wait_ms"] = waitMs;
    state.counters["over_mean_us"] = count ? sumUs / static_cast<double>(count) : 0;
    state.counters["over_min_us"] = count ? minUs : 0;
    state.counters["over_max_us"] = maxUs;
    state.counters["failures"] = static_cast<double>(failures);
}

p::TransactLinks LinksFor(p::TransactPort& port, p::TrafficLog& log, int baudIndex, bool withEvents) {
    p::TransactLinks links;
    links.port = &port;
    links.log = &log;
    links.baudIndex = [baudIndex] { return baudIndex; };
    links.checksumMode = [] { return false; };
    if (withEvents)
        links.processEvents = [] { QCoreApplication::processEvents(); };
    links.sleepMs = &p::SleepMilliseconds;
    return links;
}

void BM_ExchangeBareTty(benchmark::State& state) {
    const Line line = LineFor(static_cast<int>(state.range(0)));
    const auto terminal = StartTerminal(line);
    if (!terminal)
        return state.SkipWithError("the simulator did not start");
    tkm::bench::RawPtyPort port(terminal->slavePath(), line.baudRate);
    if (!port.error().empty())
        return state.SkipWithError(port.error().c_str());
    p::StringListLog log;
    p::TransactLinks links = LinksFor(port, log, line.baudIndex, false);
    const p::Command command = p::ReadDeviceName(kAddress);
    MeasureExchanges(state, p::ReplyWaitMs(line.baudIndex, command.extraWait),
                     [&] { return p::Transact(links, command); });
}

void BM_ExchangeSerialLink(benchmark::State& state) {
    const Line line = LineFor(static_cast<int>(state.range(0)));
    const auto terminal = StartTerminal(line);
    if (!terminal)
        return state.SkipWithError("the simulator did not start");
    // The main window's settings of the port component.
    TnrComm comm;
    comm.SetWatchDeviceChanges(false);
    comm.SetBaudRate(static_cast<quint32>(line.baudRate));
    comm.SetStreamProtocol(spNone);
    comm.SetBufferInSize(128);
    comm.SetBufferOutSize(128);
    comm.SetTimeoutRead(0);
    comm.SetTimeoutWrite(100);
    comm.SetComPortNo(
        comm.AddExtraPort(QStringLiteral("bench"), QString::fromStdString(terminal->slavePath())));
    comm.SetActive(true);
    if (!comm.GetActive())
        return state.SkipWithError("the port did not open");
    CommTransactPort port(&comm);
    p::StringListLog log;
    p::TransactLinks links = LinksFor(port, log, line.baudIndex, true);
    const p::Command command = p::ReadDeviceName(kAddress);
    MeasureExchanges(state, p::ReplyWaitMs(line.baudIndex, command.extraWait),
                     [&] { return p::Transact(links, command); });
    state.counters["comm_wakes_per_exchange"] =
        static_cast<double>(comm.CommThreadWakeups()) /
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

void BM_ExchangeMainWindow(benchmark::State& state) {
    const Line line = LineFor(static_cast<int>(state.range(0)));
    TF1 window;
    window.show();
    tkm::sim::TerminalSettings settings;
    settings.address = kAddress;
    settings.baudCode = line.simBaudCode;
    window.simulatedPort()->setSettings(settings);
    window.BR->setCurrentIndex(line.baudIndex);
    window.BRChange();
    // As the user does: pick the simulator, open the port, choose the address.
    window.nrDeviceBox1->Change(
        window.nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName)));
    window.BOP->SetActive(true);
    window.BOPClick();
    window.Adr->SetPosition(kAddress);
    if (!window.connection().found())
        return state.SkipWithError("the window did not identify the simulated terminal");
    window.simulatedPort()->simulator()->setPacing(true);
    window.Timer1->stop();
    window.Keyboard->Timer3->stop();
    const p::Command command = p::ReadDeviceName(kAddress);
    const quint64 wakesBefore = window.nrComm1->CommThreadWakeups();
    MeasureExchanges(state, p::ReplyWaitMs(line.baudIndex, command.extraWait),
                     [&] { return window.connection().Transact(command); });
    window.Timer1->stop();
    state.counters["comm_wakes_per_exchange"] =
        static_cast<double>(window.nrComm1->CommThreadWakeups() - wakesBefore) /
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

BENCHMARK(BM_ExchangeBareTty)
    ->Arg(5)
    ->Arg(9)
    ->ArgName("baud_index")
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExchangeSerialLink)
    ->Arg(5)
    ->Arg(9)
    ->ArgName("baud_index")
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExchangeMainWindow)
    ->Arg(5)
    ->Arg(9)
    ->ArgName("baud_index")
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);

// ---- where the main window's share goes ----
// Transact lights and darkens the activity lamp (two immediate repaints, which also paint whatever else
// is dirty) and appends a line to the traffic memo, which is painted at the next repaint.

void BM_WindowLampOnOff(benchmark::State& state) {
    TF1 window;
    window.show();
    QCoreApplication::processEvents();
    window.Timer1->stop();
    window.Keyboard->Timer3->stop();
    for (auto _ : state) {
        window.led->SetActive(true);
        window.led->SetActive(false);
    }
}
BENCHMARK(BM_WindowLampOnOff)->Unit(benchmark::kMicrosecond);

void BM_WindowMemoAppendAndPaint(benchmark::State& state) {
    TF1 window;
    window.show();
    QCoreApplication::processEvents();
    window.Timer1->stop();
    window.Keyboard->Timer3->stop();
    int line = 0;
    for (auto _ : state) {
        window.RCVS->appendPlainText(QStringLiteral("%1\t$01M --> !01TKM-9214").arg(++line));
        if (window.RCVS->lineCount() > p::kTrafficLogMaxLines)
            window.RCVS->clear();
        QCoreApplication::processEvents(); // the memo's deferred paint
    }
}
BENCHMARK(BM_WindowMemoAppendAndPaint)->Unit(benchmark::kMicrosecond);

// ---- pure CPU ----

const std::string kWriteText = "$01T100Key 10 "; // the keyboard poll's echo, one of the longest frames

void BM_FrameChecksum(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(p::FrameChecksum(kWriteText, true));
}
BENCHMARK(BM_FrameChecksum);

void BM_BuildFrame(benchmark::State& state) {
    const bool checksum = state.range(0) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(p::BuildFrame(kWriteText, checksum));
}
BENCHMARK(BM_BuildFrame)->Arg(0)->Arg(1)->ArgName("checksum");

void BM_UnpackReply(benchmark::State& state) {
    const bool checksum = state.range(0) != 0;
    const std::string reply =
        "!01" + std::string("TKM-9214") + p::FrameChecksum("!01TKM-9214", checksum) + "\r";
    for (auto _ : state)
        benchmark::DoNotOptimize(p::UnpackReply(reply, "!01", checksum));
}
BENCHMARK(BM_UnpackReply)->Arg(0)->Arg(1)->ArgName("checksum");

// A port that answers at once from memory: the transaction's own work, without line or sleep.
class EchoReplyPort : public p::TransactPort {
public:
    explicit EchoReplyPort(std::string reply) : reply_(std::move(reply)) {}
    bool GetActive() const override { return true; }
    std::string ReadString() override { return std::exchange(pending_, {}); }
    void SendString(const std::string& bytes) override {
        benchmark::DoNotOptimize(bytes.data());
        pending_ = reply_;
    }

private:
    std::string reply_;
    std::string pending_;
};

void BM_TransactInMemory(benchmark::State& state) {
    const bool checksum = state.range(0) != 0;
    EchoReplyPort port("!01TKM-9214" + p::FrameChecksum("!01TKM-9214", checksum) + "\r");
    p::StringListLog log;
    p::TransactLinks links;
    links.port = &port;
    links.log = &log;
    links.baudIndex = [] { return 5; };
    links.checksumMode = [checksum] { return checksum; };
    links.sleepMs = [](int) {};
    const p::Command command = p::ReadDeviceName(kAddress);
    for (auto _ : state)
        benchmark::DoNotOptimize(p::Transact(links, command));
}
BENCHMARK(BM_TransactInMemory)->Arg(0)->Arg(1)->ArgName("checksum");

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window variant needs an application; it gets none of the benchmark's options.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
