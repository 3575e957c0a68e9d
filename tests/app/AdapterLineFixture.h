#pragma once

#include "WindowFixture.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "sim/SimTerminal.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The window with an adapter that can be pulled and plugged in again: a simulated terminal on a
// pseudo-terminal stands for it, chosen in the port list as "adapter line". Stopping the terminal
// closes the pseudo-terminal under the open port; plugIn() puts a new one in its place, which the
// port finds under the same entry when it opens next.
class AdapterLine : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        plugIn();
        window->nrComm1->AddExtraPort(QStringLiteral("adapter line"),
                                      [this] { return QString::fromStdString(terminal->slavePath()); });
        window->nrDeviceBox1->Reload();
        window->nrDeviceBox1->Change(window->nrDeviceBox1->findText(QStringLiteral("adapter line")));
    }

    void TearDown() override {
        window.reset(); // the port closes before its device goes
        terminal.reset();
        WindowFixture::TearDown();
    }

    // A fresh adapter: a new simulated terminal on a new pseudo-terminal.
    void plugIn() {
        terminal = std::make_unique<tkm::sim::SimTerminal>();
        ASSERT_EQ(terminal->start(), "");
    }

    // Runs the event loop until done() or 10 s have passed; whether done() holds.
    bool runUntil(const std::function<bool()>& done) {
        QElapsedTimer cap;
        cap.start();
        while (!done() && cap.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        QCoreApplication::processEvents();
        return done();
    }

    std::unique_ptr<tkm::sim::SimTerminal> terminal;
};
