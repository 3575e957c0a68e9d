#pragma once

#include "protocol/Transact.h"
#include "testkit/StringListLog.h"

#include "terminal/TerminalLine.h"

#include <functional>
#include <optional>
#include <string>

// The terminal's rules over a test port, through the window's transaction with its reply wait replaced
// by duringWait (nothing when empty), checksum mode off.
class TransactLine : public tkm::terminal::TerminalLine {
public:
    explicit TransactLine(tkm::protocol::TransactPort& port) {
        links_.port = &port;
        links_.log = &log;
        links_.baudIndex = [] { return 5; };
        links_.checksumMode = [] { return false; };
        links_.sleepMs = [this](int) {
            if (duringWait)
                duringWait();
        };
    }

    std::optional<std::string> exchange(const tkm::protocol::Command& command) override {
        std::string payload = tkm::protocol::Transact(links_, command);
        if (tkm::protocol::IsTransactError(payload))
            return std::nullopt;
        return payload;
    }

    tkm::protocol::StringListLog log;
    std::function<void()> duringWait;

private:
    tkm::protocol::TransactLinks links_;
};
