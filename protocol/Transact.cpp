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

int AdapterLatencyBudgetMs(int baudIndex) {
    return ReplyWaitMs(baudIndex, 0) / 3;
}

namespace {

enum class ReplyEnd { FixedWait, WholeReply };

// Everything that arrives until a whole reply is there or the wait, counted from sentAt, has passed.
// The echo of the frame ends with a carriage return as a reply does, so it is no whole reply.
std::string ReadUntilWholeReply(TransactLinks& links, std::string_view frame,
                                std::chrono::steady_clock::time_point sentAt, int waitMs) {
    using namespace std::chrono;
    const auto now = [&links] { return links.now ? links.now() : steady_clock::now(); };
    const steady_clock::time_point deadline = sentAt + milliseconds(waitMs);
    std::string received;
    for (;;) {
        received += links.port->ReadString();
        if (IsWholeReply(WithoutEcho(received, frame), links.checksumMode()))
            return received;
        const milliseconds left = ceil<milliseconds>(deadline - now());
        if (left <= milliseconds::zero())
            return received;
        switch (links.port->WaitForInput(left)) {
        case TransactPort::InputWait::Arrived:
            break;
        case TransactPort::InputWait::TimedOut:
            return received + links.port->ReadString();
        case TransactPort::InputWait::Unsupported:
            Require(static_cast<bool>(links.sleepMs), "sleep");
            links.sleepMs(static_cast<int>(left.count()));
            return received + links.port->ReadString();
        }
    }
}

std::string Exchange(TransactLinks& links, std::string_view command, std::string_view expectedPrefix,
                     int extraWait, ReplyEnd end) {
    Require(links.port != nullptr, "port");
    Require(links.log != nullptr, "traffic log");
    Require(static_cast<bool>(links.baudIndex), "baud-rate index");
    Require(static_cast<bool>(links.checksumMode), "checksum mode");
    if (end == ReplyEnd::FixedWait)
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
    const std::string frame = sent + kTerminator;
    links.port->SendString(frame);
    const auto sentAt = links.now ? links.now() : std::chrono::steady_clock::now();

    if (links.processEvents)
        links.processEvents();
    const int waitMs =
        links.replyWaitMs ? std::max(*links.replyWaitMs, 0) : ReplyWaitMs(links.baudIndex(), extraWait);
    std::string received;
    if (end == ReplyEnd::WholeReply) {
        received = ReadUntilWholeReply(links, frame, sentAt, waitMs);
    } else {
        links.sleepMs(waitMs);
        received = links.port->ReadString();
    }
    restorer.Restore();

    const std::string_view reply = WithoutEcho(received, frame);
    if (reply.size() != received.size() && !links.echoNoted) {
        links.echoNoted = true;
        links.log->AppendNote(std::string(kLineEchoNote));
    }

    if (!HasExpectedPrefix(reply, expectedPrefix))
        return std::string(kTransactError);

    links.log->AppendLine(DecimalText(links.log->LineCount() + 1) + '\t' + sent + " --> " +
                          std::string(reply));
    if (links.log->LineCount() > kTrafficLogMaxLines)
        links.log->Clear();

    std::optional<std::string> payload = UnpackReply(reply, expectedPrefix, links.checksumMode());
    return payload ? std::move(*payload) : std::string(kTransactError);
}

} // namespace

std::string Transact(TransactLinks& links, std::string_view command, std::string_view expectedPrefix,
                     int extraWait) {
    return Exchange(links, command, expectedPrefix, extraWait, ReplyEnd::FixedWait);
}

std::string Transact(TransactLinks& links, const Command& command) {
    return Transact(links, command.text, command.prefix, command.extraWait);
}

std::string TransactUntilReply(TransactLinks& links, std::string_view command,
                               std::string_view expectedPrefix, int extraWait) {
    return Exchange(links, command, expectedPrefix, extraWait, ReplyEnd::WholeReply);
}

std::string TransactUntilReply(TransactLinks& links, const Command& command) {
    return TransactUntilReply(links, command.text, command.prefix, command.extraWait);
}

void SleepMilliseconds(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace tkm::protocol
