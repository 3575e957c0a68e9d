#include "app/TerminalConnection.h"

#include "terminal/Dio.h"
#include "terminal/Identification.h"
#include "terminal/Watchdog.h"

#include "protocol/Frame.h"

#include <stdexcept>
#include <utility>

namespace proto = tkm::protocol;
namespace term = tkm::terminal;

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

std::optional<std::string> TerminalConnection::exchange(const proto::Command& command) {
    std::string payload = Transact(command);
    if (IsError(payload))
        return std::nullopt;
    return payload;
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
    const term::Result<std::string> lines = term::ReadLines(*this, address_);
    // A reply overtaken by a change of address or connection says nothing about the terminal now.
    if (epoch_ != epoch)
        return false;
    device_.lineState = lines ? *lines : std::string();
    return static_cast<bool>(lines);
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

    // The cache is emptied first, so the flag goes before it: a conversion error that ends the caller's
    // handler must not leave it claiming a terminal the cache no longer describes.
    invalidate();
    // The cache's steps become the window's signals; any change of the connection meanwhile (counted
    // by the epoch) overtakes the identification.
    class Follower : public term::IdentifyObserver {
    public:
        explicit Follower(TerminalConnection& connection) : c_(connection), epoch_(connection.epoch_) {}
        void emptied() override { emit c_.deviceDataChanged(); }
        void linesRead() override { emit c_.lineStateRead(c_.device_.lineState); }
        void watchdogRead() override {
            emit c_.watchdogIdentified(c_.device_.watchdog.enabled, c_.device_.watchdog.periodTenths);
        }
        void filled() override { emit c_.deviceDataChanged(); }
        bool current() const override { return c_.epoch_ == epoch_; }

    private:
        TerminalConnection& c_;
        const std::uint64_t epoch_;
    } follower(*this);
    // The window's identification clears the terminal's display and takes the values as sent.
    const term::IdentifyOptions options{true, term::Replies::AsReceived};
    // One address for every read, whatever happens to the controls meanwhile.
    if (!term::Identify(*this, address_, device_, options, follower))
        return false;
    found_ = true;
    return true;
}

bool TerminalConnection::readWatchdog() {
    return static_cast<bool>(term::ReadWatchdog(*this, address_, device_.watchdog));
}

bool TerminalConnection::setWatchdog(bool enabled, int periodTenths) {
    if (!found_)
        return false;
    return static_cast<bool>(term::SetWatchdog(*this, address_, enabled, periodTenths));
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
