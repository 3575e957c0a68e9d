#pragma once

// The command transaction: the one path to the terminal. Runs on the thread that owns the port
// adapter and the window state (the user-interface thread in the application); one TransactLinks
// object must not be used from two threads at once.

#include "protocol/TrafficLog.h"
#include "protocol/TransactPort.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tkm::protocol {

struct Command;

// The result of every failed transaction; callers compare with it.
inline constexpr std::string_view kTransactError = "error";

inline bool IsTransactError(std::string_view result) {
    return result == kTransactError;
}

// The traffic log is cleared when it grows past this many lines.
inline constexpr int kTrafficLogMaxLines = 2000;

// The traffic log's note when an exchange first reads its own frame back on a port.
inline constexpr std::string_view kLineEchoNote =
    "The line echoes every frame sent (a two-wire RS-485 adapter): the echo is left out of the replies.";

// What Transact reaches in the window that owns it. port, log, baudIndex, checksumMode and sleepMs are
// required (Transact throws std::invalid_argument when one is missing); the others may stay empty.
struct TransactLinks {
    TransactPort* port = nullptr;
    TrafficLog* log = nullptr;
    std::function<int()> baudIndex;     // item index of the baud-rate list, 0 = 300 .. 9 = 115200
    std::function<bool()> checksumMode; // read each time it is used, not once per transaction
    std::function<void(bool enabled)> setPollTimerEnabled;
    std::function<void(bool on)> setActivityLamp;
    std::function<void()> processEvents; // handle pending window events once
    std::function<void(int milliseconds)> sleepMs;
    // When set, the reply wait of every exchange in place of ReplyWaitMs (slow links and gateways).
    std::optional<int> replyWaitMs;
    // The clock TransactUntilReply counts the reply wait on; empty: the steady clock.
    std::function<std::chrono::steady_clock::time_point()> now;

    // Whether kLineEchoNote has been logged since the port opened. The exchange sets it; whoever
    // opens the port clears it, so that the note comes once per open.
    bool echoNoted = false;

    // Set by Transact while it runs. An event handled in its message pump that starts another
    // transaction gets "error" at once: a nested exchange would discard the outer reply.
    bool busy = false;
};

// The fixed reply wait: int(1024 / 2^baudIndex) + extraWait + 20 ms. baudIndex is clamped to 0..9 and
// a negative extraWait counts as 0.
int ReplyWaitMs(int baudIndex, int extraWait);

// The poll timer's interval follows the same list position: int(1024 / 2^baudIndex) + 350 ms.
int PollIntervalMs(int baudIndex);

// How long a USB adapter may hold received bytes (its latency timer) before replies at this list
// position risk coming after the reply wait: a third of that wait.
int AdapterLatencyBudgetMs(int baudIndex);

// Sends command (without checksum and terminator), waits the reply wait, reads the reply and returns
// its payload, or kTransactError for a closed port, a reply without the expected prefix (not logged) or,
// with checksum mode on, a wrong checksum (logged). The line's echo of the frame (WithoutEcho) is
// dropped before the reply is checked and logged; the first echo since the port opened is noted in the
// log (links.echoNoted). Exceptions from the port propagate, after the poll timer and the activity lamp
// have been restored.
std::string Transact(TransactLinks& links, std::string_view command, std::string_view expectedPrefix,
                     int extraWait);
std::string Transact(TransactLinks& links, const Command& command);

// The same exchange, ended as soon as a whole reply has arrived after the echo, if any (IsWholeReply:
// terminator seen, checksum valid when checksum mode is on); only when none arrives does it wait the whole
// reply wait, counted from the moment the frame was written. A port that cannot wait for input gets the fixed
// wait of Transact. Failures, the traffic log and the payload are exactly those of Transact. links.sleepMs is
// needed only for such a port.
std::string TransactUntilReply(TransactLinks& links, std::string_view command,
                               std::string_view expectedPrefix, int extraWait);
std::string TransactUntilReply(TransactLinks& links, const Command& command);

// A plain blocking sleep, for links that need no control over time.
void SleepMilliseconds(int milliseconds);

} // namespace tkm::protocol
