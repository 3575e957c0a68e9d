#pragma once

#include <string>

namespace tkm::sim {

// A pseudo-terminal pair whose master side plays the terminal's end of the serial line (POSIX/Linux).
//
// The simulator keeps one descriptor of the slave open for as long as the pair exists, so a host that
// closes and reopens the slave never hangs the master up. Because of that descriptor the slave's tty
// lives on after the host closes it, and with it an exclusive mode (TIOCEXCL) the host set: an inotify
// watch on the slave counts the host's opens and closes, and when the last host descriptor closes the
// simulator clears the exclusive mode and drops bytes the host left unread, as a real port forgets them
// on close. A host that closes and reopens at once can still meet the exclusive mode for an instant;
// hosts should clear it (TIOCNXCL) before closing, as careful serial code does anyway.
//
// Threads: open() and close() run on the owner's thread while no other thread uses the object; the
// other calls run on the line thread.
class PseudoTerminal {
public:
    struct LineFormat {
        int baudRate = 0;          // bits per second the host set; 0 when it is none of the usual rates
        bool eightNoParity = true; // 8 data bits, no parity (Linux ptys force it; kept for other hosts)
    };

    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    // Creates the pair with the slave in raw mode, 8N1, at baudRate. Empty on success, else the error.
    std::string open(int baudRate);
    void close();

    int masterFd() const { return master_; }
    int watchFd() const { return watch_; } // -1 when inotify is not available
    const std::string& slavePath() const { return slavePath_; }

    // The line settings the host gave the slave (the master reports the slave's termios on Linux).
    LineFormat hostLineFormat() const;

    // Reads the pending watch events; true when the last host descriptor has just been closed, in
    // which case exclusive mode has been cleared and the host's unread input dropped.
    bool handleWatchEvents();

    // After a hang-up of the slave (vhangup by someone): replaces the kept descriptor.
    bool reopenKeptSlave();

private:
    int master_ = -1;
    int keptSlave_ = -1;
    int watch_ = -1;
    int hostOpens_ = 0;
    std::string slavePath_;
};

} // namespace tkm::sim
