#include "sim/TerminalModel.h"

#include "sim/SimFrame.h"

#include <stdexcept>

namespace tkm::sim {

namespace {
const std::string kBlankRow(kDisplayColumns, ' ');

bool isUpperHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

std::optional<int> decimalDigits(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}
} // namespace

TerminalModel::TerminalModel(const TerminalSettings& settings, std::shared_ptr<const SimClock> clock)
    : clock_(std::move(clock)), deviceName_(settings.deviceName),
      firmware_(settings.firmware), stored_{settings.address, settings.baudCode, settings.codePage,
                                            settings.checksum, settings.typeCode},
      initPin_(settings.initPin) {
    if (const std::string problem = settings.validate(); !problem.empty())
        throw std::invalid_argument(problem);
    if (!clock_)
        clock_ = std::make_shared<SteadySimClock>();
    symbols_.fill(std::string(16, '0'));
    powerUp();
}

TerminalModel::FrameResult TerminalModel::receiveFrame(std::string_view frame) {
    std::lock_guard lock(mutex_);
    updateWatchdog();
    FrameResult result;
    result.epoch = epoch_;
    result.checksum = checksum_;
    if (!powered_) {
        result.note = "terminal is off";
        return result;
    }
    std::string_view body = frame;
    if (checksum_) {
        if (body.size() < 2) {
            result.note = "no checksum";
            return result;
        }
        const std::string_view sum = body.substr(body.size() - 2);
        body.remove_suffix(2);
        if (sum != hexByte(frameChecksum(body))) {
            result.note = "bad checksum";
            return result;
        }
    }
    if (body == "~**") {
        lastHostAlive_ = clock_->now();
        result.note = "host alive";
        return result;
    }
    if (body.size() < 3 || std::string_view("$~@%").find(body[0]) == std::string_view::npos) {
        result.note = "not a command";
        return result;
    }
    const auto address = parseHexByte(body.substr(1, 2));
    if (!address || *address != address_) {
        result.note = "not for this address";
        return result;
    }
    result.reply = dispatch(body[0], body.substr(3), result);
    if (result.reply) {
        if (result.note.empty())
            result.note = "ok";
    } else {
        result.reply = "?" + addressText();
        result.note = "refused";
    }
    return result;
}

void TerminalModel::commitLineConfig(std::uint64_t epoch) {
    std::lock_guard lock(mutex_);
    if (epoch != epoch_ || !pendingLine_)
        return;
    address_ = pendingLine_->address;
    baudCode_ = pendingLine_->baudCode;
    checksum_ = pendingLine_->checksum;
    pendingLine_.reset();
}

TerminalModel::LineSettings TerminalModel::lineSettings() const {
    std::lock_guard lock(mutex_);
    return {powered_, address_, baudCode_, checksum_, epoch_};
}

bool TerminalModel::pressKey(int key) {
    std::lock_guard lock(mutex_);
    if (!powered_ || key < 1 || key > kKeyCount || keys_.size() >= kKeyQueueCapacity)
        return false;
    keys_.push_back(key);
    return true;
}

void TerminalModel::setInputs(std::uint8_t levels) {
    std::lock_guard lock(mutex_);
    updateWatchdog();
    inputs_ = levels;
}

void TerminalModel::setInputLine(int line, bool high) {
    if (line < 0 || line > 7)
        return;
    std::lock_guard lock(mutex_);
    updateWatchdog();
    const auto bit = static_cast<std::uint8_t>(0x80 >> line);
    inputs_ = high ? (inputs_ | bit) : (inputs_ & ~bit);
}

void TerminalModel::setInitPin(bool connected) {
    std::lock_guard lock(mutex_);
    initPin_ = connected;
}

void TerminalModel::powerOff() {
    std::lock_guard lock(mutex_);
    if (!powered_)
        return;
    updateWatchdog();
    powered_ = false;
    pendingLine_.reset();
    ++epoch_;
}

void TerminalModel::powerOn() {
    std::lock_guard lock(mutex_);
    if (!powered_)
        powerUp();
}

void TerminalModel::powerCycle() {
    std::lock_guard lock(mutex_);
    powered_ = false;
    powerUp();
}

TerminalState TerminalModel::state() {
    std::lock_guard lock(mutex_);
    updateWatchdog();
    TerminalState s;
    s.powered = powered_;
    s.initPin = initPin_;
    s.initMode = initMode_;
    s.address = address_;
    s.baudCode = baudCode_;
    s.checksum = checksum_;
    s.storedAddress = stored_.address;
    s.storedBaudCode = stored_.baudCode;
    s.storedChecksum = stored_.checksum;
    s.codePage = stored_.codePage;
    s.typeCode = stored_.typeCode;
    s.deviceName = deviceName_;
    s.firmware = firmware_;
    s.rows = rows_;
    s.cursorRow = cursorRow_;
    s.cursorColumn = cursorColumn_;
    s.displaySettings = displaySettings_;
    s.savedDisplaySettings = savedDisplaySettings_;
    s.lamp1 = lamp1_;
    s.lamp2 = lamp2_;
    s.direction = direction_;
    s.outputs = outputs_;
    s.inputs = inputs_;
    s.lines = lines();
    s.powerOnValue = powerOnValue_;
    s.safeValue = safeValue_;
    s.symbols = symbols_;
    s.keys.assign(keys_.begin(), keys_.end());
    s.watchdogEnabled = watchdogEnabled_;
    s.watchdogPeriod = watchdogPeriod_;
    s.moduleStatus = moduleStatus_;
    s.sinceHostAlive = clock_->now() - lastHostAlive_;
    return s;
}

std::optional<std::string> TerminalModel::dispatch(char lead, std::string_view command, FrameResult& result) {
    switch (lead) {
    case '$':
        if (command.empty())
            return std::nullopt;
        return displayCommand(command[0], command.substr(1));
    case '~':
        return tildeCommand(command);
    case '@':
        return dioCommand(command);
    case '%':
        return configWrite(command, result);
    default:
        return std::nullopt;
    }
}

// The "$" commands: identity, direction byte, display, lamps, keys, symbols and configuration read.
std::optional<std::string> TerminalModel::displayCommand(char letter, std::string_view data) {
    switch (letter) {
    case 'M':
        return data.empty() ? std::optional(okReply() + deviceName_) : std::nullopt;
    case 'F':
        return data.empty() ? std::optional(okReply() + firmware_) : std::nullopt;
    case 'D':
        if (data.empty())
            return okReply() + hexByte(direction_);
        if (const auto value = parseHexByte(data)) {
            direction_ = *value;
            return okReply();
        }
        return std::nullopt;
    case 'T': {
        if (data.empty()) {
            rows_.fill(kBlankRow);
            cursorRow_ = cursorColumn_ = 0;
            return okReply();
        }
        const auto row = decimalDigits(data.substr(0, 1));
        const auto column = data.size() >= 3 ? decimalDigits(data.substr(1, 2)) : std::nullopt;
        if (!row || !column || *row >= kDisplayRows || *column >= kDisplayColumns)
            return std::nullopt;
        cursorRow_ = *row;
        cursorColumn_ = *column;
        writeText(data.substr(3));
        return okReply();
    }
    case 'O':
        writeText(data);
        return okReply();
    case 'S':
        if (data.size() != 1 || !isUpperHexDigit(data[0]))
            return std::nullopt;
        displaySettings_ = *hexDigitValue(data[0]) & ~kSaveToEeprom;
        if (*hexDigitValue(data[0]) & kSaveToEeprom)
            savedDisplaySettings_ = displaySettings_;
        return okReply();
    case 'I':
        if (data.size() != 2 || (data[0] != '1' && data[0] != '2') || (data[1] != '0' && data[1] != '1'))
            return std::nullopt;
        (data[0] == '1' ? lamp1_ : lamp2_) = data[1] == '1';
        return okReply();
    case 'K': {
        if (!data.empty())
            return std::nullopt;
        const auto count = std::min<std::size_t>(keys_.size(), kMaxKeysPerReply);
        std::string reply = okReply() + static_cast<char>('0' + count);
        for (std::size_t i = 0; i < count; ++i) {
            reply += hexByte(static_cast<unsigned>(keys_.front()));
            keys_.pop_front();
        }
        return reply;
    }
    case 'G': {
        if (data.size() != 17 || data[0] < '0' || data[0] > '7')
            return std::nullopt;
        const std::string_view code = data.substr(1);
        for (char c : code)
            if (!hexDigitValue(c))
                return std::nullopt;
        symbols_[static_cast<std::size_t>(data[0] - '0')] = std::string(code);
        return okReply();
    }
    case '2':
        if (!data.empty())
            return std::nullopt;
        return "!" + addressText() + stored_.typeCode + hexByte(static_cast<unsigned>(baudCode_)) +
               hexByte(static_cast<unsigned>(stored_.codePage)) + (checksum_ ? "40" : "00");
    default:
        return std::nullopt;
    }
}

// The "~" commands: power-on and safe values, watchdog and module status.
std::optional<std::string> TerminalModel::tildeCommand(std::string_view command) {
    const std::uint8_t outputLines = static_cast<std::uint8_t>(~direction_);
    if (command == "4P")
        return okReply() + hexByte(powerOnValue_);
    if (command == "4S")
        return okReply() + hexByte(safeValue_);
    if (command == "5P") {
        powerOnValue_ = outputs_ & outputLines;
        return okReply();
    }
    if (command == "5S") {
        safeValue_ = outputs_ & outputLines;
        return okReply();
    }
    if (command == "2")
        return "!" + addressText() + (watchdogEnabled_ ? "1" : "0") +
               hexByte(static_cast<unsigned>(watchdogPeriod_));
    if (command.size() == 4 && command[0] == '3') {
        const auto period = parseHexByte(command.substr(2));
        if ((command[1] != '0' && command[1] != '1') || !period)
            return std::nullopt;
        watchdogEnabled_ = command[1] == '1';
        watchdogPeriod_ = *period;
        restartWatchdog();
        return okReply();
    }
    if (command == "0")
        return "!" + addressText() + hexByte(static_cast<unsigned>(moduleStatus_));
    if (command == "1") {
        moduleStatus_ = 0;
        restartWatchdog();
        return okReply();
    }
    return std::nullopt;
}

std::optional<std::string> TerminalModel::dioCommand(std::string_view data) {
    if (data.empty())
        return ">" + hexByte(lines());
    const auto value = parseHexByte(data);
    if (!value)
        return std::nullopt;
    outputs_ = static_cast<std::uint8_t>((outputs_ & direction_) | (*value & ~direction_));
    return ">";
}

// %AA NN TT BB CC FF. The type code is the terminal's own and is not changed by a write.
std::optional<std::string> TerminalModel::configWrite(std::string_view data, FrameResult& result) {
    if (data.size() != 10)
        return std::nullopt;
    const auto address = parseHexByte(data.substr(0, 2));
    const auto baud = parseHexByte(data.substr(4, 2));
    const auto codePage = parseHexByte(data.substr(6, 2));
    const std::string_view format = data.substr(8, 2);
    if (!address || *address == 0 || !baud || baudRateForCode(*baud) == 0 || !codePage || *codePage > 2 ||
        (format != "00" && format != "40"))
        return std::nullopt;
    stored_.address = *address;
    stored_.baudCode = *baud;
    stored_.codePage = *codePage;
    stored_.checksum = format == "40";
    if (initMode_) {
        result.note = "stored for the next power-up";
    } else {
        pendingLine_ = stored_;
        result.commitAfterReply = true;
    }
    return "!" + hexByte(*address);
}

std::string TerminalModel::addressText() const {
    return hexByte(static_cast<unsigned>(address_));
}

std::string TerminalModel::okReply() const {
    return "!" + addressText();
}

void TerminalModel::powerUp() {
    powered_ = true;
    ++epoch_;
    initMode_ = initPin_;
    address_ = initMode_ ? 0 : stored_.address;
    baudCode_ = initMode_ ? 6 : stored_.baudCode;
    checksum_ = initMode_ ? false : stored_.checksum;
    pendingLine_.reset();
    rows_.fill(kBlankRow);
    cursorRow_ = cursorColumn_ = 0;
    displaySettings_ = savedDisplaySettings_;
    lamp1_ = lamp2_ = false;
    outputs_ = powerOnValue_;
    keys_.clear();
    moduleStatus_ = 0;
    restartWatchdog();
}

// Text runs on from the end of a row into the next one, and from the last row back to the first.
void TerminalModel::writeText(std::string_view text) {
    for (char c : text) {
        rows_[static_cast<std::size_t>(cursorRow_)][static_cast<std::size_t>(cursorColumn_)] = c;
        if (++cursorColumn_ == kDisplayColumns) {
            cursorColumn_ = 0;
            cursorRow_ = (cursorRow_ + 1) % kDisplayRows;
        }
    }
}

void TerminalModel::updateWatchdog() {
    if (!powered_ || !watchdogEnabled_ || watchdogPeriod_ == 0 || moduleStatus_ == kWatchdogAlarmStatus)
        return;
    if (clock_->now() - lastHostAlive_ < std::chrono::milliseconds(100 * watchdogPeriod_))
        return;
    moduleStatus_ = kWatchdogAlarmStatus;
    outputs_ = static_cast<std::uint8_t>((outputs_ & direction_) | (safeValue_ & ~direction_));
}

void TerminalModel::restartWatchdog() {
    lastHostAlive_ = clock_->now();
}

std::uint8_t TerminalModel::lines() const {
    return static_cast<std::uint8_t>((inputs_ & direction_) | (outputs_ & ~direction_));
}

} // namespace tkm::sim
