// Transact against a port that answers with the fuzzer's bytes. Whatever arrives, the transaction
// sends exactly the frame, waits exactly the reply wait, returns either "error" or the payload the
// frame rules give, logs exactly the exchanges whose prefix passed, restores the poll timer and the
// lamp on every path (a port that throws included), and refuses a transaction started from inside
// its own message pump. Checksum mode may change during the exchange: the command goes out in the
// mode of the moment it is sent, the reply is checked in the mode of the moment it is unpacked. On an
// echoing line the reply follows a copy of the frame: the copy is dropped before anything is checked
// and noted once in the log.
#include "FuzzCheck.h"
#include "ReferenceFrame.h"

#include "protocol/Commands.h"
#include "protocol/TrafficLog.h"
#include "protocol/Transact.h"
#include "protocol/TransactPort.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tkm::protocol;

// Everything the transaction does to the world, in order.
using Events = std::vector<std::string>;

class FuzzPort : public TransactPort {
public:
    explicit FuzzPort(Events& events) : events_(events) {}

    bool GetActive() const override { return active; }
    // The first read finds the stale bytes, the second the reply, any further one nothing.
    std::string ReadString() override {
        events_.push_back("read");
        ++reads_;
        if (reads_ == 1)
            return std::exchange(stale, {});
        if (reads_ == 2)
            return std::exchange(reply, {});
        return {};
    }
    void SendString(const std::string& bytes) override {
        events_.push_back("send");
        if (failSend)
            throw std::runtime_error("the line is gone");
        sent += bytes;
    }

    bool active = true;
    bool failSend = false;
    std::string stale;
    std::string reply;
    std::string sent;

private:
    Events& events_;
    int reads_ = 0;
};

class FuzzLog : public TrafficLog {
public:
    void AppendLine(const std::string& line) override { lines.push_back(line); }
    void AppendNote(const std::string& text) override { lines.push_back(text); }
    int LineCount() const override { return static_cast<int>(lines.size()); }
    void Clear() override { lines.clear(); }

    std::vector<std::string> lines;
};

// The commands of the catalogue for one address, and one of the fuzzer's own making.
Command PickCommand(FuzzedDataProvider& input) {
    const int address = input.ConsumeIntegral<std::uint8_t>();
    const int byte = input.ConsumeIntegral<std::uint8_t>();
    switch (input.ConsumeIntegralInRange(0, 14)) {
    case 0:
        return ReadDeviceName(address);
    case 1:
        return ReadDirection(address);
    case 2:
        return ReadPowerOnValue(address);
    case 3:
        return ReadLineState(address);
    case 4:
        return WriteLineState(address, byte);
    case 5:
        return ReadPressedKeys(address);
    case 6:
        return ReadConfiguration(address);
    case 7:
        return WriteConfiguration(address, {std::max(byte, 1), byte % 10, byte % 3, (byte & 1) != 0});
    case 8:
        return ReadWatchdogState(address);
    case 9:
        return WriteWatchdog(address, (byte & 1) != 0, byte);
    case 10:
        return ReadModuleStatus(address);
    case 11:
        return HostAlive();
    case 12:
        return WriteSymbol(address, byte % 8, "1F0000000000001F");
    case 13:
        return WriteDisplaySettings(address, {});
    default: {
        Command own;
        own.text = input.ConsumeRandomLengthString(24);
        own.prefix = input.ConsumeRandomLengthString(4);
        own.extraWait = input.ConsumeIntegralInRange(-5, 600);
        return own;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Events events;
    FuzzPort port(events);
    FuzzLog log;

    port.active = input.ConsumeProbability<float>() > 0.05f;
    port.failSend = input.ConsumeProbability<float>() < 0.05f;
    const bool checksumAtSend = input.ConsumeBool();
    const bool checksumAtReply = input.ConsumeBool() ? checksumAtSend : !checksumAtSend;
    const bool nestedInPump = input.ConsumeBool();
    const int baudIndex = input.ConsumeIntegralInRange(-3, 12);
    const int logLinesBefore =
        input.PickValueInArray({0, 1, 7, kTrafficLogMaxLines - 1, kTrafficLogMaxLines});
    const Command command = PickCommand(input);
    port.stale = input.ConsumeRandomLengthString(32);
    // A reply that carries the right checksum is hard to guess; the fuzzer may ask for one to be sealed.
    const bool sealReply = input.ConsumeBool();
    const bool echoingLine = input.ConsumeBool();
    std::string reply = input.ConsumeRemainingBytesAsString();
    if (sealReply) {
        reply = command.prefix + reply;
        reply += tkm::fuzz::ChecksumOf(reply, true) + '\r';
    }
    const std::string frame = command.text + tkm::fuzz::ChecksumOf(command.text, checksumAtSend) + '\r';
    port.reply = echoingLine ? frame + reply : reply;
    log.lines.assign(static_cast<std::size_t>(logLinesBefore), "earlier line");

    bool checksumMode = checksumAtSend;
    int sleptMs = -1;
    bool timerEnabled = true;
    bool lampOn = false;
    TransactLinks links;
    links.port = &port;
    links.log = &log;
    links.baudIndex = [&] { return baudIndex; };
    links.checksumMode = [&] { return checksumMode; };
    links.setPollTimerEnabled = [&](bool on) {
        timerEnabled = on;
        events.push_back(on ? "timer on" : "timer off");
    };
    links.setActivityLamp = [&](bool on) {
        lampOn = on;
        events.push_back(on ? "lamp on" : "lamp off");
    };
    links.processEvents = [&] {
        events.push_back("pump");
        if (nestedInPump) {
            const std::size_t before = events.size();
            FUZZ_CHECK(Transact(links, command) == kTransactError);
            FUZZ_CHECK(events.size() == before); // refused before touching anything
        }
        checksumMode = checksumAtReply;
    };
    links.sleepMs = [&](int milliseconds) {
        FUZZ_CHECK(sleptMs == -1);
        sleptMs = milliseconds;
        events.push_back("sleep");
    };

    std::optional<std::string> result;
    bool threw = false;
    try {
        result = Transact(links, command);
    } catch (const std::runtime_error&) {
        threw = true;
    }

    FUZZ_CHECK(!links.busy);
    FUZZ_CHECK(timerEnabled && !lampOn);
    if (!port.active) {
        FUZZ_CHECK(result == std::string(kTransactError) && events.empty());
        FUZZ_CHECK(log.LineCount() == logLinesBefore);
        return 0;
    }
    if (port.failSend) {
        FUZZ_CHECK(threw);
        FUZZ_CHECK((events == Events{"timer off", "lamp on", "read", "send", "lamp off", "timer on"}));
        FUZZ_CHECK(log.LineCount() == logLinesBefore);
        return 0;
    }
    FUZZ_CHECK(!threw && result.has_value());
    FUZZ_CHECK((events == Events{"timer off", "lamp on", "read", "send", "pump", "sleep", "read", "lamp off",
                                 "timer on"}));
    FUZZ_CHECK(port.sent == frame);
    FUZZ_CHECK(sleptMs == (1024 >> std::clamp(baudIndex, 0, 9)) + std::max(command.extraWait, 0) + 20);

    // What the line gave back less a copy of the frame at its start; the note comes with the first copy.
    const std::string received = echoingLine ? frame + reply : reply;
    const bool echoDropped = received.starts_with(frame);
    const std::string seen = echoDropped ? received.substr(frame.size()) : received;
    FUZZ_CHECK(links.echoNoted == echoDropped);
    const int linesBefore = logLinesBefore + (echoDropped ? 1 : 0);
    if (echoDropped && log.LineCount() > logLinesBefore) // unless the exchange's line cleared the log
        FUZZ_CHECK(log.lines.at(static_cast<std::size_t>(logLinesBefore)) == kLineEchoNote);

    const bool prefixPassed = seen.size() >= command.prefix.size() && seen.starts_with(command.prefix);
    if (!prefixPassed) {
        FUZZ_CHECK(*result == kTransactError);
        FUZZ_CHECK(log.LineCount() == linesBefore); // nothing but the note logged
        return 0;
    }
    if (linesBefore + 1 > kTrafficLogMaxLines) {
        FUZZ_CHECK(log.LineCount() == 0); // the line that passed the bound cleared the log
    } else {
        FUZZ_CHECK(log.LineCount() == linesBefore + 1);
        FUZZ_CHECK(log.lines.back() == std::to_string(linesBefore + 1) + '\t' + command.text +
                                           tkm::fuzz::ChecksumOf(command.text, checksumAtSend) + " --> " +
                                           seen);
    }
    const std::optional<std::string> payload = tkm::fuzz::PayloadOf(seen, command.prefix, checksumAtReply);
    FUZZ_CHECK(*result == payload.value_or(std::string(kTransactError)));
    return 0;
}
