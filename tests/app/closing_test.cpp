// Closing the window against the built-in simulator over a real pseudo-terminal: the terminal's
// watchdog is switched off, as leaving the WDT page does, before the port closes; a close that comes
// while an exchange waits for its reply waits for the exchange. And the program itself, ended by
// SIGTERM: the same on the line, and its port's lock file gone.
#include "SimulatedLineFixture.h"

#include "app/WdtPage.h"

#include "seriallink/UucpLock.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrPowerButton.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

namespace {

using Frames = std::vector<std::string>;

class Closing : public SimulatedLine {
protected:
    // The terminal at address 1 found, its watchdog enabled from the WDT page with period 0x1E.
    void watchdogOn() {
        openSimulator();
        identifyAt(1);
        window->Page->setCurrentWidget(window->WDTimer);
        QTest::mouseClick(window->WDTimer->WDTEN, Qt::LeftButton);
        window->PollTick();
        ASSERT_TRUE(sim()->model().state().watchdogEnabled);
        received();
    }
};

TEST_F(Closing, TheWatchdogGoesOffThenThePortCloses) {
    watchdogOn();
    QSignalSpy closed(window.get(), &TF1::Closed);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(received(), Frames({"~01301E"}));
    EXPECT_FALSE(sim()->model().state().watchdogEnabled);
    EXPECT_FALSE(window->nrComm1->GetActive());
    EXPECT_FALSE(window->BOP->Active());
}

TEST_F(Closing, ACloseDuringAnExchangeWaitsUntilTheExchangeIsOver) {
    watchdogOn();
    QSignalSpy closed(window.get(), &TF1::Closed);
    // Runs in the first exchange's message pump.
    QTimer::singleShot(0, window.get(), [this] { window->close(); });
    EXPECT_TRUE(window->WDTimer->Poll()) << "both exchanges of the poll answered";
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(window->nrComm1->GetActive());
    QCoreApplication::processEvents();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(received(), Frames({"~**", "~010", "~01301E"}));
    EXPECT_FALSE(window->nrComm1->GetActive());
}

// The program, ended by SIGTERM with the terminal found: it says goodbye as its close button does.
TEST(Termination, SigtermSwitchesTheWatchdogOffClosesThePortAndRemovesItsLockFile) {
#if defined(__SANITIZE_THREAD__)
    // The program paints its window with Qt's own raster threads, whose locking ThreadSanitizer cannot
    // see in the uninstrumented Qt libraries, and ends with its report's exit status; the close path
    // itself runs under it above.
    GTEST_SKIP() << "the program's painted window is beyond ThreadSanitizer";
#endif
    tkm::sim::TerminalSettings settings;
    settings.baudCode = 10; // 115200: the shortest reply waits
    tkm::sim::SimTerminal terminal({settings, nullptr, false});
    ASSERT_EQ(terminal.start(), "");
    const QString slave = QString::fromStdString(terminal.slavePath());
    const QString folder = UucpLock::DefaultFolder();
    const QString lock = folder.isEmpty()
                             ? QString()
                             : folder + u'/' + UucpLock::LockNameFor(QFileInfo(slave).canonicalFilePath());

    const QTemporaryDir config;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path()); // the user's choices stay untouched
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TKM_UTILITY_PROGRAM),
                  {"--port", slave, "--baud", "115200", "--address", "1", "--open"});
    ASSERT_TRUE(program.waitForStarted());

    // Found once the identification's last read was answered: the watchdog, off, period 0.
    const auto identified = [&] {
        const Frames frames = terminal.trace().frames(tkm::sim::TraceEntry::Direction::FromTerminal);
        return std::any_of(frames.begin(), frames.end(),
                           [](const std::string& f) { return f == "!01000\r"; });
    };
    const QDeadlineTimer giveUp(20000);
    while (!identified() && !giveUp.hasExpired() && program.state() == QProcess::Running)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(identified()) << program.readAllStandardError().toStdString();
    const bool locked = !lock.isEmpty() && QFileInfo::exists(lock); // no lock where the folder is not ours
    terminal.trace().clear();

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    Frames sent = terminal.trace().frames(tkm::sim::TraceEntry::Direction::ToTerminal);
    for (std::string& frame : sent)
        frame.pop_back(); // the carriage return
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "~01301E") << "the last frame";
    if (locked) {
        EXPECT_FALSE(QFileInfo::exists(lock)) << lock.toStdString();
    }
}

} // namespace
