#pragma once

#include "sim/LineFaults.h"
#include "sim/PseudoTerminal.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace tkm::sim {

class LineTrace;
class TerminalModel;

// The terminal's end of the serial line: serves the master side of a pseudo-terminal on a thread of
// its own. It gathers frames up to each carriage return, hands them to the model, and sends the
// replies (checksum and terminator added, faults applied, optionally paced at the character time of
// the baud rate, each after the terminal's turnaround delay). With echo on it plays a two-wire RS-485
// line whose adapter hears its own transmitter: every byte the host writes comes back to it at once,
// whatever the terminal makes of it, ahead of the reply. Bytes that arrive while the host's line settings
// differ from the terminal's (speed, or anything but 8 data bits without parity) are not understood and get
// no reply.
//
// Threads: start(), stop() and slavePath() belong to the owner's thread (not concurrently with each
// other). setFaults(), faults(), setPacing(), pacing(), setEcho(), echo(), setTurnaround() and
// turnaround() may run on any thread. The line thread
// waits in ppoll() on the master, the slave watch and a wake-up eventfd; it never spins.
class PtyLine {
public:
    // Longer frames are dropped whole; the buffer never grows past this.
    static constexpr std::size_t kMaxFrameLength = 256;
    // Replies waiting to go out (late or paced) beyond this are dropped, so a host that floods the
    // line cannot grow the queue without bound.
    static constexpr std::size_t kMaxQueuedReplies = 64;
    // The longest turnaround delay: far beyond any reply wait, short enough to stay a delay.
    static constexpr std::chrono::milliseconds kMaxTurnaround{60000};

    PtyLine(TerminalModel& model, LineTrace& trace);
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;
    ~PtyLine();

    // Opens a fresh pseudo-terminal and starts the thread. Empty on success, else the error text.
    std::string start();
    void stop();
    bool running() const { return thread_.joinable(); }
    // The slave device path, valid between start() and stop().
    const std::string& slavePath() const { return pty_.slavePath(); }

    // What the line has done since start(): carriage returns taken from the host (each ends a frame,
    // understood or not) and bytes written to it.
    struct Progress {
        std::uint64_t terminatorsReceived = 0;
        std::uint64_t bytesSent = 0;
    };
    Progress progress() const;
    // Blocks until the line has taken at least `terminators` carriage returns and has written every
    // reply due within `window` from now (a reply due later, a late one, is not waited for). Returns
    // false on timeout. Lets a host stand in for its reply wait without sleeping: it counts the frames
    // it sent, calls this with its wait as window, then reads until it has progress().bytesSent bytes.
    bool waitForReplies(std::uint64_t terminators, std::chrono::milliseconds window,
                        std::chrono::milliseconds timeout) const;

    void setFaults(const LineFaults& faults);
    LineFaults faults() const;
    void setPacing(bool on) { pacing_ = on; }
    bool pacing() const { return pacing_; }
    void setEcho(bool on) { echo_ = on; }
    bool echo() const { return echo_; }
    void setTurnaround(std::chrono::milliseconds delay) { turnaroundMs_ = delay.count(); }
    std::chrono::milliseconds turnaround() const { return std::chrono::milliseconds(turnaroundMs_.load()); }

private:
    using Clock = std::chrono::steady_clock;

    struct Outgoing {
        std::string bytes;
        std::size_t written = 0;
        Clock::time_point due;         // when the next byte may go
        Clock::duration characterTime; // zero: all at once
        bool commitConfig = false;
        std::uint64_t epoch = 0;
        std::string note;
    };

    void run();
    void wake();
    void readHost();
    void echoBytes(const char* data, std::size_t size);
    void takeBytes(const char* data, std::size_t size);
    void handleFrame(const std::string& frame);
    void sendDue();
    void dropPendingOutput(const char* why);
    void publishProgress();
    std::optional<std::chrono::nanoseconds> nextWait() const; // nothing: wait for events only

    TerminalModel& model_;
    LineTrace& trace_;
    PseudoTerminal pty_;
    int wakeFd_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> pacing_{false};
    std::atomic<bool> echo_{false};
    std::atomic<std::chrono::milliseconds::rep> turnaroundMs_{0};
    mutable std::mutex faultsMutex_;
    LineFaults faults_;

    mutable std::mutex progressMutex_;
    mutable std::condition_variable progressChanged_;
    Progress progress_;
    std::size_t queuedReplies_ = 0;
    Clock::time_point nextReplyDue_;

    // Line thread only.
    Progress counters_;
    std::string frame_;
    bool frameOverflow_ = false;
    std::deque<Outgoing> output_;
    bool masterHungUp_ = false;
};

} // namespace tkm::sim
