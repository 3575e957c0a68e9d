#pragma once

// The real main window on its built-in simulated terminal, for the benchmarks that run the window's
// own timers. User-interface thread only.

#include "app/SimulatedTerminalPort.h"
#include "app/TF1.h"
#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QEventLoop>
#include <QTimer>

inline void RunEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Picks the simulator in the port chooser, chooses the baud rate at baudIndex in the list and address 1,
// and opens the port, as a user does; the poll timer then finds the terminal. The running simulator, or
// nullptr when the port did not open.
inline tkm::sim::SimTerminal* OpenSimulatedTerminal(TF1& window, const tkm::sim::TerminalSettings& settings,
                                                    int baudIndex) {
    window.simulatedPort()->setSettings(settings);
    window.nrDeviceBox1->Change(
        window.nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName)));
    window.BR->setCurrentIndex(baudIndex);
    window.BRChange();
    window.Adr->SetPosition(1);
    window.BOP->SetActive(true);
    window.BOPClick();
    tkm::sim::SimTerminal* sim = window.simulatedPort()->simulator();
    return window.nrComm1->GetActive() ? sim : nullptr;
}
