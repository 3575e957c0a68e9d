#pragma once

#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "WindowFixture.h"

#include <memory>

// The main window with its transaction answered by a scripted port and a reply wait that returns at
// once.
class MainWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window->setSleep([](int) {});
    }

    // Answers through `terminal` from now on; frames sent are in port->sent.
    void talkTo(ScriptedPort::Script terminal) {
        port = std::make_unique<ScriptedPort>(std::move(terminal));
        window->setTransactPort(port.get());
    }

    std::unique_ptr<ScriptedPort> port;
};
