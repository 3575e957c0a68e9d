#pragma once

#include "testkit/SimReplyWait.h"
#include "WindowFixture.h"

#include "app/SimulatedTerminalPort.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The main window against the built-in simulated terminal over a real pseudo-terminal, opened as a
// user does. The transaction's reply wait is SimReplyWait (the simulator's reply, capped), and the
// frames the terminal received are read back from its trace.
class SimulatedLine : public WindowFixture {
protected:
    // Picks the simulator in the port chooser and opens the port, as a user does.
    void openSimulator(const tkm::sim::TerminalSettings& settings = {}, int baudIndex = 5) {
        window->simulatedPort()->setSettings(settings);
        const int entry =
            window->nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName));
        ASSERT_GE(entry, 0);
        window->nrDeviceBox1->Change(entry);
        window->BR->setCurrentIndex(baudIndex);
        window->BRChange();
        QTest::mouseClick(window->BOP, Qt::LeftButton);
        ASSERT_TRUE(exceptions.isEmpty()) << exceptions.join(QLatin1Char('\n')).toStdString();
        ASSERT_TRUE(window->nrComm1->GetActive());
        ASSERT_NE(sim(), nullptr);
        window->setSleep(SimReplyWait(
            sim()->trace(), [this] { return static_cast<std::size_t>(window->nrComm1->GetReadyForRead()); },
            std::chrono::seconds(2), sim()->echo()));
        window->Timer1->stop();
    }

    tkm::sim::SimTerminal* sim() const { return window->simulatedPort()->simulator(); }

    // Every frame the terminal received since the last call, carriage return removed.
    std::vector<std::string> received() {
        std::string bytes;
        const std::uint64_t from = consumed_;
        for (const tkm::sim::TraceEntry& entry : sim()->trace().entries()) {
            if (entry.direction == tkm::sim::TraceEntry::Direction::ToTerminal && entry.sequence >= from)
                bytes += entry.bytes;
            consumed_ = entry.sequence + 1;
        }
        std::vector<std::string> frames;
        std::string frame;
        for (char c : bytes) {
            if (c == '\r') {
                frames.push_back(frame);
                frame.clear();
            } else {
                frame += c;
            }
        }
        return frames;
    }

    void identifyAt(int address) {
        window->Adr->SetPosition(address);
        if (!window->connection().found())
            window->Timer1Timer();
        ASSERT_TRUE(window->connection().found());
        received();
    }

private:
    std::uint64_t consumed_ = 0;
};
