#include "app/TerminalConnection.h"

#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/Replies.h"

#include <cctype>
#include <optional>
#include <stdexcept>
#include <utility>

namespace proto = tkm::protocol;

namespace {

// The line byte of an @AA payload in upper case, so that it compares equal, as text, with the LED
// bank that shows it: a terminal answering "a5" would otherwise make every other poll a write.
std::optional<std::string> lineByteOf(std::string_view payload) {
    std::optional<std::string> lines = proto::DecodeLineByte(payload);
    if (lines) {
        for (char& c : *lines)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return lines;
}

} // namespace

TerminalConnection::TerminalConnection(proto::TransactLinks links, QObject* parent)
    : QObject(parent), links_(std::move(links)) {
    if (!links_.port || !links_.log || !links_.sleepMs)
        throw std::invalid_argument("TerminalConnection: the transaction needs a port, a log and a sleep");
    links_.baudIndex = [this] { return baudIndex_; };
    links_.checksumMode = [this] { return checksumMode_; };
}

std::string TerminalConnection::Transact(const proto::Command& command) {
    return proto::Transact(links_, command);
}

std::string TerminalConnection::Transact(std::string_view command, std::string_view expectedPrefix,
                                         int extraWait) {
    return proto::Transact(links_, command, expectedPrefix, extraWait);
}

bool TerminalConnection::portOpen() const {
    return links_.port->GetActive();
}

void TerminalConnection::setPort(proto::TransactPort* port) {
    if (!port)
        throw std::invalid_argument("TerminalConnection::setPort: no port");
    if (port != links_.port) {
        links_.port = port;
        invalidate();
    }
}

void TerminalConnection::setSleep(std::function<void(int)> sleep) {
    if (!sleep)
        throw std::invalid_argument("TerminalConnection::setSleep: no sleep");
    links_.sleepMs = std::move(sleep);
}

bool TerminalConnection::betweenExchanges() {
    // Inside an exchange the input stays held: a click run there would start exchanges of its own.
    if (links_.busy || !letInputRun_)
        return true;
    return letInputRun_();
}

void TerminalConnection::setBetweenExchanges(std::function<bool()> letInputRun) {
    letInputRun_ = std::move(letInputRun);
}

std::string TerminalConnection::addressText() const {
    return proto::AddressText(address_);
}

void TerminalConnection::setAddress(int address) {
    if (address < 0 || address > 255)
        throw std::out_of_range("TerminalConnection::setAddress: address outside 0..255");
    if (address != address_) {
        address_ = address;
        invalidate();
    }
}

void TerminalConnection::setChecksumMode(bool on) {
    checksumMode_ = on;
    invalidate();
}

void TerminalConnection::setBaudIndex(int index) {
    if (index < 0 || index > 9)
        throw std::out_of_range("TerminalConnection::setBaudIndex: index outside 0..9");
    if (index != baudIndex_) {
        baudIndex_ = index;
        invalidate();
    }
}

void TerminalConnection::lose() {
    invalidate();
}

void TerminalConnection::invalidate() {
    found_ = false;
    ++epoch_;
}

void TerminalConnection::setLineState(const std::string& lineByte) {
    device_.lineState = lineByte;
}

bool TerminalConnection::readLineState() {
    const std::uint64_t epoch = epoch_;
    const std::string reply = Transact(proto::ReadLineState(address_));
    // A reply overtaken by a change of address or connection says nothing about the terminal now.
    if (epoch_ != epoch)
        return false;
    const std::optional<std::string> lines = IsError(reply) ? std::nullopt : lineByteOf(reply);
    device_.lineState = lines.value_or(std::string());
    return lines.has_value();
}

bool TerminalConnection::identify() {
    // Another identification is waiting for a reply further up the stack (an event its message pump
    // let run): this one could not talk, and that one no longer describes what was asked for.
    if (identifying_) {
        invalidate();
        return false;
    }
    identifying_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{identifying_};

    // The cache is emptied below, so the flag goes first: a conversion error that ends the caller's
    // handler must not leave it claiming a terminal the cache no longer describes.
    invalidate();
    const std::uint64_t epoch = epoch_;
    device_.deviceName.clear();
    device_.firmware.clear();
    device_.cfgBaud.clear();
    device_.cfgCodePage.clear();
    device_.cfgFormat.clear();
    device_.direction.clear();
    device_.powerOn.clear();
    device_.safe.clear();
    emit deviceDataChanged();

    // One address for every read, whatever happens to the controls meanwhile.
    const int a = address_;
    auto current = [&] { return epoch_ == epoch; };
    auto ask = [&](const proto::Command& command, std::string& into) {
        into = Transact(command);
        return current() && !IsError(into);
    };

    const proto::Command reads[] = {proto::ReadDeviceName(a), proto::ReadFirmware(a), proto::ReadDirection(a),
                                    proto::ReadPowerOnValue(a), proto::ReadSafeValue(a)};
    std::string kept[5];
    for (int i = 0; i < 5; ++i) {
        if (!ask(reads[i], kept[i]))
            return false;
    }

    // A malformed line byte is a failed read too: shown and compared with the LEDs, it would make
    // the DIO poll write the outputs although nobody toggled one.
    std::string reply;
    const std::optional<std::string> lines =
        ask(proto::ReadLineState(a), reply) ? lineByteOf(reply) : std::nullopt;
    if (!lines) {
        // The lines are unknown now; "error" is no line byte to show or to compare with.
        if (current())
            device_.lineState.clear();
        return false;
    }
    device_.lineState = *lines;
    emit lineStateRead(device_.lineState);

    std::string cleared;
    if (!ask(proto::ClearDisplay(a), cleared))
        return false;

    std::string configuration;
    if (!ask(proto::ReadConfiguration(a), configuration))
        return false;
    const std::optional<proto::ConfigurationFields> fields = proto::DecodeConfiguration(configuration);
    if (!fields)
        return false;
    device_.cfgAddress = fields->address;
    device_.cfgBaud = fields->baudCode;
    device_.cfgCodePage = fields->codePageCode;
    device_.cfgFormat = fields->formatCode;

    if (!readWatchdog() || !current())
        return false;
    emit watchdogIdentified(device_.wdtEnabled, device_.wdtPeriod);

    device_.deviceName = proto::DecodeDeviceName(kept[0]);
    device_.firmware = proto::DecodeFirmware(kept[1]);
    device_.direction = kept[2];
    device_.powerOn = kept[3];
    device_.safe = kept[4];
    emit deviceDataChanged();
    if (!current())
        return false;
    found_ = true;
    return true;
}

bool TerminalConnection::readWatchdog() {
    device_.wdtEnabled = false;
    device_.wdtPeriod = 0;
    const std::string reply = Transact(proto::ReadWatchdogState(address_));
    if (IsError(reply))
        return false;
    const std::optional<proto::WatchdogState> state = proto::DecodeWatchdogState(reply);
    if (!state)
        return false;
    device_.wdtEnabled = state->enabled;
    device_.wdtPeriod = state->periodTenths;
    return true;
}

bool TerminalConnection::setWatchdog(bool enabled, int periodTenths) {
    if (!found_)
        return false;
    return !IsError(Transact(proto::WriteWatchdog(address_, enabled, periodTenths)));
}

void TerminalConnection::runAddressScan(const ScanControls& controls) {
    controls.setPollTimer(false);
    bool windowOpen = true;
    for (;;) {
        if (!controls.scanOn())
            break;
        if (!portOpen()) {
            controls.switchScanOff();
            break;
        }
        if (address_ >= 255)
            break;
        controls.moveAddress(address_ + 1);
        controls.setPollTimer(false); // the transactions started it again
        // The input held through this step runs before the next one: it may switch Scan off, close the
        // port or move the address, and the checks see what it did.
        windowOpen = betweenExchanges();
        if (!windowOpen)
            break;
        if (found_) {
            controls.switchScanOff();
            break;
        }
    }
    if (!found_ && windowOpen)
        controls.moveAddress(0);
    controls.switchScanOff();
    controls.setPollTimer(true);
}
