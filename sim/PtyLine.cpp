#include "sim/PtyLine.h"

#include "sim/LineTrace.h"
#include "sim/SimFrame.h"
#include "sim/TerminalModel.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tkm::sim {

namespace {
constexpr auto kHangUpRetry = std::chrono::milliseconds(50);
constexpr int kReadsPerWake = 8;      // so a flooding host cannot starve the replies
constexpr int kBitsPerCharacter = 10; // start bit, 8 data bits, stop bit

timespec toTimespec(std::chrono::nanoseconds span) {
    if (span.count() < 0)
        span = std::chrono::nanoseconds(0);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((span - seconds).count())};
}

std::string lineFormatText(const PseudoTerminal::LineFormat& format) {
    std::string text = format.baudRate > 0 ? std::to_string(format.baudRate) + " baud" : "an unusual speed";
    if (!format.eightNoParity)
        text += " (not 8 data bits without parity)";
    return text;
}
} // namespace

PtyLine::PtyLine(TerminalModel& model, LineTrace& trace) : model_(model), trace_(trace) {}

PtyLine::~PtyLine() {
    stop();
}

std::string PtyLine::start() {
    if (running())
        return "the line is already running";
    const std::string error = pty_.open(baudRateForCode(model_.lineSettings().baudCode));
    if (!error.empty())
        return error;
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ == -1) {
        pty_.close();
        return "eventfd failed";
    }
    stopping_ = false;
    counters_ = {};
    publishProgress();
    thread_ = std::thread(&PtyLine::run, this);
    return {};
}

void PtyLine::stop() {
    if (!running())
        return;
    stopping_ = true;
    wake();
    thread_.join();
    ::close(wakeFd_);
    wakeFd_ = -1;
    pty_.close();
    frame_.clear();
    frameOverflow_ = false;
    output_.clear();
    masterHungUp_ = false;
}

void PtyLine::setFaults(const LineFaults& faults) {
    std::lock_guard lock(faultsMutex_);
    faults_ = faults;
}

LineFaults PtyLine::faults() const {
    std::lock_guard lock(faultsMutex_);
    return faults_;
}

void PtyLine::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void PtyLine::run() {
    while (!stopping_) {
        pollfd fds[3];
        nfds_t count = 0;
        fds[count++] = {wakeFd_, POLLIN, 0};
        const nfds_t masterIndex = masterHungUp_ ? 0 : count;
        if (!masterHungUp_)
            fds[count++] = {pty_.masterFd(), POLLIN, 0};
        const nfds_t watchIndex = pty_.watchFd() >= 0 ? count : 0;
        if (pty_.watchFd() >= 0)
            fds[count++] = {pty_.watchFd(), POLLIN, 0};

        std::optional<std::chrono::nanoseconds> wait = nextWait();
        if (masterHungUp_ && (!wait || *wait > kHangUpRetry))
            wait = kHangUpRetry;
        timespec timeout{};
        if (wait)
            timeout = toTimespec(*wait);
        if (::ppoll(fds, count, wait ? &timeout : nullptr, nullptr) == -1 && errno != EINTR) {
            trace_.append(TraceEntry::Direction::ToTerminal, {}, "line stopped: poll failed");
            return;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t value;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &value, sizeof value);
        }
        if (stopping_)
            break;
        if (watchIndex != 0 && (fds[watchIndex].revents & POLLIN) && pty_.handleWatchEvents()) {
            frame_.clear();
            frameOverflow_ = false;
            dropPendingOutput("host closed the port");
        }
        if (masterHungUp_) {
            masterHungUp_ = !pty_.reopenKeptSlave();
        } else if (masterIndex != 0) {
            if (fds[masterIndex].revents & POLLIN)
                readHost();
            else if (fds[masterIndex].revents & (POLLHUP | POLLERR))
                masterHungUp_ = true; // retried at kHangUpRetry, never in a tight loop
        }
        sendDue();
        publishProgress();
    }
}

void PtyLine::readHost() {
    char buffer[1024];
    for (int i = 0; i < kReadsPerWake; ++i) {
        const ssize_t n = ::read(pty_.masterFd(), buffer, sizeof buffer);
        if (n > 0) {
            if (echo_)
                echoBytes(buffer, static_cast<std::size_t>(n));
            takeBytes(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n == -1 && errno == EINTR)
            continue;
        if (n == -1 && errno == EIO)
            masterHungUp_ = true;
        return;
    }
}

void PtyLine::echoBytes(const char* data, std::size_t size) {
    // What does not fit into the host's input queue is lost, as on a real line.
    const ssize_t n = ::write(pty_.masterFd(), data, size);
    if (n > 0)
        counters_.bytesSent += static_cast<std::uint64_t>(n);
}

void PtyLine::takeBytes(const char* data, std::size_t size) {
    const TerminalModel::LineSettings settings = model_.lineSettings();
    if (settings.powered) {
        const PseudoTerminal::LineFormat format = pty_.hostLineFormat();
        const int rate = baudRateForCode(settings.baudCode);
        if (format.baudRate != rate || !format.eightNoParity) {
            // A receiver at another speed sees only noise, and loses the frame it was gathering.
            trace_.append(TraceEntry::Direction::ToTerminal,
                          std::string(data, std::min(size, kMaxFrameLength)),
                          "host line at " + lineFormatText(format) + ", terminal at " + std::to_string(rate) +
                              " baud: not understood");
            frame_.clear();
            frameOverflow_ = false;
            counters_.terminatorsReceived +=
                static_cast<std::uint64_t>(std::count(data, data + size, kCarriageReturn));
            return;
        }
    }
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == kCarriageReturn) {
            ++counters_.terminatorsReceived;
            if (frameOverflow_)
                trace_.append(TraceEntry::Direction::ToTerminal, frame_,
                              "frame longer than " + std::to_string(kMaxFrameLength) + " bytes: dropped");
            else
                handleFrame(frame_);
            frame_.clear();
            frameOverflow_ = false;
        } else if (frame_.size() < kMaxFrameLength) {
            frame_ += c;
        } else {
            frameOverflow_ = true;
        }
    }
}

void PtyLine::handleFrame(const std::string& frame) {
    const TerminalModel::FrameResult result = model_.receiveFrame(frame);
    const LineFaults faults = this->faults();
    const std::string received = frame + kCarriageReturn;
    if (!result.reply) {
        trace_.append(TraceEntry::Direction::ToTerminal, received, result.note);
        return;
    }
    if (faults.silence) {
        trace_.append(TraceEntry::Direction::ToTerminal, received,
                      result.note + "; reply withheld (silence)");
        if (result.commitAfterReply)
            model_.commitLineConfig(result.epoch);
        return;
    }
    trace_.append(TraceEntry::Direction::ToTerminal, received, result.note);

    std::string bytes = *result.reply;
    if (result.checksum) {
        std::uint8_t sum = frameChecksum(bytes);
        if (faults.wrongChecksum)
            ++sum;
        bytes += hexByte(sum, !faults.lowerCaseChecksum);
    }
    bytes += kCarriageReturn;
    bytes.insert(0, faults.garbage);
    if (faults.truncateTo >= 0 && bytes.size() > static_cast<std::size_t>(faults.truncateTo))
        bytes.resize(static_cast<std::size_t>(faults.truncateTo));
    if (bytes.empty()) {
        if (result.commitAfterReply)
            model_.commitLineConfig(result.epoch);
        return;
    }

    if (output_.size() >= kMaxQueuedReplies) {
        trace_.append(TraceEntry::Direction::FromTerminal, {}, "reply dropped: too many replies waiting");
        if (result.commitAfterReply)
            model_.commitLineConfig(result.epoch);
        return;
    }
    Outgoing out;
    out.bytes = std::move(bytes);
    out.characterTime = std::chrono::nanoseconds(0);
    if (pacing_) {
        const int rate = std::max(1, baudRateForCode(model_.lineSettings().baudCode));
        out.characterTime = std::chrono::nanoseconds(std::int64_t{kBitsPerCharacter} * 1'000'000'000 / rate);
    }
    out.due = Clock::now() + turnaround() + faults.lateReply;
    if (!output_.empty()) {
        const Outgoing& last = output_.back();
        const auto lastEnds =
            last.due + static_cast<long>(last.bytes.size() - last.written) * last.characterTime;
        out.due = std::max(out.due, lastEnds);
    }
    out.commitConfig = result.commitAfterReply;
    out.epoch = result.epoch;
    if (faults.any())
        out.note = "fault: " + faults.describe();
    output_.push_back(std::move(out));
}

void PtyLine::sendDue() {
    if (output_.empty())
        return;
    const std::uint64_t epoch = model_.lineSettings().epoch;
    const auto now = Clock::now();
    while (!output_.empty()) {
        Outgoing& out = output_.front();
        if (out.epoch != epoch) {
            if (out.written > 0)
                trace_.append(TraceEntry::Direction::FromTerminal, out.bytes.substr(0, out.written),
                              "cut off: terminal switched off");
            output_.pop_front();
            continue;
        }
        if (out.due > now)
            return;
        std::size_t count = out.bytes.size() - out.written;
        if (out.characterTime.count() > 0)
            count = std::min<std::size_t>(count,
                                          1 + static_cast<std::size_t>((now - out.due) / out.characterTime));
        const ssize_t n = ::write(pty_.masterFd(), out.bytes.data() + out.written, count);
        if (n == -1 && errno == EINTR)
            continue;
        if (n > 0) {
            counters_.bytesSent += static_cast<std::uint64_t>(n);
            out.written += static_cast<std::size_t>(n);
            out.due += n * out.characterTime;
        }
        if (out.written == out.bytes.size()) {
            trace_.append(TraceEntry::Direction::FromTerminal, out.bytes, out.note);
        } else if (n <= 0 || static_cast<std::size_t>(n) < count) {
            // The host's input queue is full: what does not fit is lost, as on a real line.
            trace_.append(TraceEntry::Direction::FromTerminal, out.bytes.substr(0, out.written),
                          "host not reading: rest of the reply lost");
        } else {
            continue; // paced: the next byte is not due yet
        }
        if (out.commitConfig)
            model_.commitLineConfig(out.epoch);
        output_.pop_front();
    }
}

void PtyLine::dropPendingOutput(const char* why) {
    for (const Outgoing& out : output_) {
        if (out.written > 0)
            trace_.append(TraceEntry::Direction::FromTerminal, out.bytes.substr(0, out.written), why);
        if (out.commitConfig)
            model_.commitLineConfig(out.epoch);
    }
    output_.clear();
}

PtyLine::Progress PtyLine::progress() const {
    std::lock_guard lock(progressMutex_);
    return progress_;
}

bool PtyLine::waitForReplies(std::uint64_t terminators, std::chrono::milliseconds window,
                             std::chrono::milliseconds timeout) const {
    const auto horizon = Clock::now() + window;
    std::unique_lock lock(progressMutex_);
    return progressChanged_.wait_for(lock, timeout, [&] {
        return progress_.terminatorsReceived >= terminators &&
               (queuedReplies_ == 0 || nextReplyDue_ > horizon);
    });
}

void PtyLine::publishProgress() {
    {
        std::lock_guard lock(progressMutex_);
        progress_ = counters_;
        queuedReplies_ = output_.size();
        if (!output_.empty())
            nextReplyDue_ = output_.front().due;
    }
    progressChanged_.notify_all();
}

std::optional<std::chrono::nanoseconds> PtyLine::nextWait() const {
    if (output_.empty())
        return std::nullopt;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(output_.front().due - Clock::now());
}

} // namespace tkm::sim
