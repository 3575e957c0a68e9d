// The window at start: command-line options and the remembered connection on the connection
// panel, the first poll tick finding the terminal behind the chosen port, and every port the user
// opens remembered for the next start.
#include "testkit/SimReplyWait.h"
#include "WindowFixture.h"

#include "app/RememberedChoices.h"
#include "app/SimulatedTerminalPort.h"
#include "app/StartConnection.h"
#include "app/StartOptions.h"
#include "app/StatusBarPanels.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"

#include "protocol/Transact.h"
#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Connection = RememberedChoices::Connection;
const QString kSimulator = QString::fromLatin1(SimulatedTerminalPort::kPortName);

tkm::sim::SimTerminal::Options checksumTerminal() {
    tkm::sim::SimTerminal::Options options;
    options.settings.checksum = true;
    return options;
}

class Start : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(terminal.start().empty());
        link = config.filePath(QStringLiteral("ttyV0"));
        ASSERT_TRUE(QFile::link(QString::fromStdString(terminal.slavePath()), link));
    }
    void TearDown() override {
        start.reset();
        WindowFixture::TearDown();
    }

    // The program's start with these options over what `remembered` holds.
    void startWith(const QStringList& options) {
        const StartOptions parsed =
            StartOptions::parse(QStringList{QStringLiteral("tkm9214-utility")} + options);
        ASSERT_EQ(parsed.action, StartOptions::Action::Start) << parsed.text.toStdString();
        start = std::make_unique<StartConnection>(*window, remembered);
        start->apply(parsed);
    }
    // The same on a window built anew, as the next run of the program.
    void restartWith(const QStringList& options) {
        start.reset();
        window.reset();
        window = std::make_unique<TF1>();
        window->Timer1->stop();
        window->Keyboard->Timer3->stop();
        startWith(options);
    }

    bool waitForOpenPort() {
        return QTest::qWaitFor([this] { return window->nrComm1->GetActive(); }, 5000);
    }

    // One poll tick with the reply wait following the terminal behind the port.
    void pollTick(tkm::sim::SimTerminal& peer) {
        window->setSleep(SimReplyWait(
            peer.trace(), [this] { return static_cast<std::size_t>(window->nrComm1->GetReadyForRead()); }));
        window->Timer1Timer();
    }

    QTemporaryDir config;
    RememberedChoices remembered{config.filePath(QStringLiteral("tkm9214-utility"))};
    // Serves `link`, like a socat link or tkm9214-sim --link; it wants frame checksums.
    tkm::sim::SimTerminal terminal{checksumTerminal()};
    QString link;
    std::unique_ptr<StartConnection> start;
};

TEST_F(Start, WithoutOptionsOrMemoryTheWindowStaysAsBuilt) {
    const quint16 port = window->nrComm1->ComPortNo();
    const QStringList entries = [this] {
        QStringList items;
        for (int i = 0; i < window->nrDeviceBox1->count(); ++i)
            items << window->nrDeviceBox1->itemText(i);
        return items;
    }();
    const int selected = window->nrDeviceBox1->currentIndex();
    startWith({});
    QCoreApplication::processEvents();
    EXPECT_EQ(window->nrComm1->ComPortNo(), port);
    EXPECT_EQ(window->nrDeviceBox1->count(), entries.size());
    EXPECT_EQ(window->nrDeviceBox1->currentIndex(), selected);
    EXPECT_EQ(window->BR->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(window->Timer1->interval(), 382);
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("ADDRESS=0x00 / 0 "));
    EXPECT_FALSE(window->CSE->Active());
    EXPECT_FALSE(window->BOP->Active());
    EXPECT_FALSE(window->nrComm1->GetActive());
    EXPECT_FALSE(QFile::exists(remembered.filePath()));
}

// scripts/run --simulator --open --address 1: the terminal is identified without a click.
TEST_F(Start, SimulatorOpenAddressOneIsFoundByTheFirstPollTick) {
    startWith({"--simulator", "--open", "--address", "1"});
    EXPECT_EQ(window->nrDeviceBox1->currentText(), kSimulator);
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("ADDRESS=0x01 / 1  "));
    ASSERT_TRUE(waitForOpenPort());
    EXPECT_TRUE(window->BOP->Active());
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Close port"));
    pollTick(*window->simulatedPort()->simulator());
    EXPECT_TRUE(window->connection().found());
    EXPECT_EQ(window->StBar->panelText(1), QStringLiteral("TKM-9214"));
    EXPECT_EQ(remembered.load(), (Connection{kSimulator, 9600}));
}

// tkm9214-utility --port <a pty link> --open talks to whatever serves that link.
TEST_F(Start, PtyLinkFromTheCommandLineIsTheWindowsPort) {
    startWith({"--port", link, "--open", "--address", "0x01", "--checksum"});
    EXPECT_EQ(window->nrDeviceBox1->currentText(), link);
    EXPECT_EQ(window->nrComm1->GetPortName(), link);
    EXPECT_TRUE(window->CSE->Active());
    ASSERT_TRUE(waitForOpenPort());
    pollTick(terminal);
    EXPECT_TRUE(window->connection().found()) << terminal.trace().formatAll();
    EXPECT_EQ(window->StBar->panelText(7), QStringLiteral("ON"));
    EXPECT_EQ(remembered.load(), (Connection{link, 9600}));
}

TEST_F(Start, RememberedPortAndRateArePreselectedAndOptionsWin) {
    struct Case {
        Connection last;
        QStringList options;
        QString port; // chooser entry expected; empty: the port as built
        QString rate;
    };
    const Case cases[] = {
        {{link, 19200}, {}, link, "19200"},
        {{link, 19200}, {"--baud", "2400"}, link, "2400"},
        {{link, 19200}, {"--simulator"}, kSimulator, "9600"}, // the remembered rate was the other port's
        {{link, 19200}, {"--port", link}, link, "19200"},
        {{kSimulator, 57600}, {}, kSimulator, "57600"},
        {{"/nonexistent/ttyUSB7", 19200}, {}, QString(), "9600"}, // not present: nothing changes
        {{"/nonexistent/ttyUSB7", 19200}, {"--baud", "300"}, QString(), "300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.last.port + u' ' + c.options.join(u' ')).toStdString());
        ASSERT_TRUE(remembered.save(c.last));
        restartWith(c.options);
        if (c.port.isEmpty())
            EXPECT_EQ(window->nrComm1->ComPortNo(), 1); // as built
        else
            EXPECT_EQ(window->nrDeviceBox1->currentText(), c.port);
        EXPECT_EQ(window->BR->currentText(), c.rate);
        EXPECT_EQ(window->Timer1->interval(), tkm::protocol::PollIntervalMs(window->BR->currentIndex()));
        EXPECT_EQ(window->nrDeviceBox1->findText(QStringLiteral("/nonexistent/ttyUSB7")), -1);
        EXPECT_FALSE(window->nrComm1->GetActive());
    }
}

// RS-485 direction control belongs to the remembered port; a port named on the command line takes it
// from --rs485 alone, so that it can be switched off.
TEST_F(Start, Rs485FollowsTheRememberedPortOrTheCommandLine) {
    struct Case {
        Connection last;
        QStringList options;
        bool rs485;
    };
    const Case cases[] = {
        {{link, 19200, true}, {}, true},
        {{link, 19200, true}, {"--port", link}, false},
        {{link, 19200, true}, {"--port", link, "--rs485"}, true},
        {{link, 19200, false}, {"--rs485"}, true},
        {{"/nonexistent/ttyUSB7", 19200, true}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.last.port + u' ' + c.options.join(u' ')).toStdString());
        ASSERT_TRUE(remembered.save(c.last));
        restartWith(c.options);
        EXPECT_EQ(window->nrComm1->Rs485(), c.rs485);
    }
}

// The built-in simulated terminal plays an echoing line that answers late.
TEST_F(Start, TheSimulatorsLineFollowsTheCommandLine) {
    startWith({"--simulator", "--simulator-echo", "--simulator-turnaround", "3", "--open"});
    ASSERT_TRUE(waitForOpenPort());
    EXPECT_TRUE(window->simulatedPort()->simulator()->echo());
    EXPECT_EQ(window->simulatedPort()->simulator()->turnaround(), std::chrono::milliseconds(3));
}

TEST_F(Start, EveryPortOpenedIsRememberedWithItsRate) {
    startWith({});
    window->nrDeviceBox1->Change(window->nrDeviceBox1->findText(kSimulator));
    window->BR->setCurrentIndex(6);
    emit window->BR->activated(6); // chosen while closed: nothing to remember yet
    EXPECT_FALSE(remembered.load());
    QTest::mouseClick(window->BOP, Qt::LeftButton);
    ASSERT_TRUE(window->nrComm1->GetActive());
    EXPECT_EQ(remembered.load(), (Connection{kSimulator, 19200}));
    window->BR->setCurrentIndex(7);
    emit window->BR->activated(7);
    EXPECT_EQ(remembered.load(), (Connection{kSimulator, 38400}));
    // Another port picked while open: the port reopens there.
    const quint16 linkPort = window->nrComm1->AddExtraPort(link, link);
    window->nrDeviceBox1->Change(window->nrComm1->IndexOfDeviceData(linkPort));
    ASSERT_TRUE(window->nrComm1->GetActive());
    EXPECT_EQ(remembered.load(), (Connection{link, 38400}));
}

TEST_F(Start, APortThatDoesNotOpenAtStartLeavesBopOff) {
    startWith({"--port", "/dev/null", "--open"});
    EXPECT_EQ(window->nrDeviceBox1->currentText(), QStringLiteral("/dev/null"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !exceptions.isEmpty(); }, 5000));
    EXPECT_EQ(exceptions.size(), 1);
    EXPECT_FALSE(window->nrComm1->GetActive());
    EXPECT_FALSE(window->BOP->Active());
    EXPECT_EQ(window->BOP->Caption(), QStringLiteral("Open port"));
    EXPECT_FALSE(remembered.load());
}

} // namespace
