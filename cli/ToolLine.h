#pragma once

#include "cli/LinePort.h"
#include "cli/ToolError.h"
#include "cli/TraceLog.h"

#include "terminal/TerminalLine.h"

#include "protocol/Transact.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tkm::protocol {
struct Command;
}
namespace tkm::sim {
class SimTerminal;
}
class ToolOptions;

// The tool's line to the terminal: the open port (or the built-in simulated terminal behind a
// pseudo-terminal), the address, baud rate and checksum mode the exchanges use, and the exchange
// itself, which ends as soon as the whole reply is there. Owner thread only; with a QCoreApplication
// on it, since the port component hands its line events to the thread that owns it (each exchange
// takes them, as the window's does).
class ToolLine : public tkm::terminal::TerminalLine {
public:
    // The port the options choose, at their baud rate, address and checksum mode. It opens with the
    // first exchange, so that a command finds fault with its words before a port error is reported.
    // trace takes the traffic log (with its notes on the line), warn the port's warnings.
    ToolLine(const ToolOptions& options, TraceLog::Sink trace, TraceLog::Sink warn = {});
    ~ToolLine();
    ToolLine(const ToolLine&) = delete;
    ToolLine& operator=(const ToolLine&) = delete;

    // Opens the port unless it is open; throws PortError when it does not open.
    void open();

    // The payload, or "error" (tkm::protocol::IsTransactError), after the retries (--retries) have
    // failed as well. Throws PortError when the port does not open or has gone away, Interrupted when
    // the stop check says so before an exchange.
    // retried false: one attempt whatever --retries says (a message that gets no answer anyway).
    std::string transact(const tkm::protocol::Command& command, bool retried = true);
    // The payload; a failed exchange throws NoAnswerError (nothing came back) or RefusedError (something
    // else than the reply expected), naming the command, the reply and the connection.
    std::string ask(const tkm::protocol::Command& command);
    // What came back in the last exchange, the echo left out; empty when nothing did.
    std::string lastReceived() const { return port_.lastReceived(); }

    // Asked before each exchange; true ends the command (Interrupted).
    void setStopCheck(std::function<bool()> stop) { stop_ = std::move(stop); }

    // The terminal's rules run over transact(): the payload, or nothing for "error".
    std::optional<std::string> exchange(const tkm::protocol::Command& command) override;
    // The value of one of the terminal's operations; its fault throws as ask() does for a failed
    // exchange, or RefusedError saying what is wrong with the reply.
    template <class T> T take(tkm::terminal::Result<T> result) const {
        if (!result)
            throw failure(result.fault());
        return *result;
    }
    ToolError failure(const tkm::terminal::Fault& fault) const;

    int address() const { return address_; }
    void setAddress(int address) { address_ = address; }
    int baudIndex() const { return baudIndex_; }
    void setBaudIndex(int index);
    bool checksum() const { return checksum_; }
    void setChecksum(bool on) { checksum_ = on; }

    // "address 0x01, 9600 baud, checksum off"
    QString where() const;
    static QString describe(int address, int baudIndex, bool checksum);

    // The built-in simulated terminal (--simulator, started with the port), else nullptr.
    tkm::sim::SimTerminal* simulator() const { return simulator_.get(); }

private:
    std::unique_ptr<tkm::sim::SimTerminal> simulator_; // outlives the port that talks to it
    LinePort port_;
    TraceLog log_;
    tkm::protocol::TransactLinks links_;
    QString path_;
    bool simulated_ = false;
    bool simulatorEcho_ = false;
    int simulatorTurnaroundMs_ = 0;
    bool opened_ = false;
    int retries_ = 0;
    std::function<bool()> stop_;
    int address_ = 1;
    int baudIndex_ = 5;
    bool checksum_ = false;
};
