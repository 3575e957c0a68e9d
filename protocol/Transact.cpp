#include "protocol/Transact.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"
#include "protocol/Frame.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace tkm::protocol {

namespace {

void Require(bool present, const char* what) {
    if (!present)
        throw std::invalid_argument(std::string("Transact: missing ") + what);
}

// Puts the poll timer and the lamp back exactly once, also when the port throws.
class WindowStateRestorer {
public:
    explicit WindowStateRestorer(TransactLinks& links) : links_(links) {}
    WindowStateRestorer(const WindowStateRestorer&) = delete;
    WindowStateRestorer& operator=(const WindowStateRestorer&) = delete;

    ~WindowStateRestorer() {
        try {
            Restore();
        } catch (...) {
            // Already unwinding from a port failure; that one is the error to report.
        }
    }

    void Restore() {
        if (restored_)
            return;
        restored_ = true;
        if (links_.setActivityLamp)
            links_.setActivityLamp(false);
        if (links_.setPollTimerEnabled)
            links_.setPollTimerEnabled(true);
    }

private:
    TransactLinks& links_;
    bool restored_ = false;
};

class BusyFlag {
public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;
    ~BusyFlag() { flag_ = false; }

private:
    bool& flag_;
};

// About 30 character times at the list's rate, halving along the list even where the rate does not double.
int ListRateTerm(int baudIndex) {
    return 1024 >> std::clamp(baudIndex, 0, 9);
}

} // namespace

int ReplyWaitMs(int baudIndex, int extraWait) {
    return ListRateTerm(baudIndex) + std::max(extraWait, 0) + 20;
}

int PollIntervalMs(int baudIndex) {
    return ListRateTerm(baudIndex) + 350;
}

std::string Transact(TransactLinks& links, std::string_view command, std::string_view expectedPrefix,
                     int extraWait) {
    Require(links.port != nullptr, "port");
    Require(links.log != nullptr, "traffic log");
    Require(static_cast<bool>(links.baudIndex), "baud-rate index");
    Require(static_cast<bool>(links.checksumMode), "checksum mode");
    Require(static_cast<bool>(links.sleepMs), "sleep");

    if (links.busy || !links.port->GetActive())
        return std::string(kTransactError);
    BusyFlag busy(links.busy);

    WindowStateRestorer restorer(links);
    if (links.setPollTimerEnabled)
        links.setPollTimerEnabled(false);
    if (links.setActivityLamp)
        links.setActivityLamp(true);

    // Bytes that arrived late for an earlier command must not pass for this reply.
    links.port->ReadString();

    const std::string sent = CommandWithChecksum(command, links.checksumMode());
    links.port->SendString(sent + kTerminator);

    if (links.processEvents)
        links.processEvents();
    links.sleepMs(ReplyWaitMs(links.baudIndex(), extraWait));

    const std::string reply = links.port->ReadString();
    restorer.Restore();

    if (!HasExpectedPrefix(reply, expectedPrefix))
        return std::string(kTransactError);

    links.log->AppendLine(DecimalText(links.log->LineCount() + 1) + '\t' + sent + " --> " + reply);
    if (links.log->LineCount() > kTrafficLogMaxLines)
        links.log->Clear();

    std::optional<std::string> payload = UnpackReply(reply, expectedPrefix, links.checksumMode());
    return payload ? std::move(*payload) : std::string(kTransactError);
}

std::string Transact(TransactLinks& links, const Command& command) {
    return Transact(links, command.text, command.prefix, command.extraWait);
}

void SleepMilliseconds(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace tkm::protocol
