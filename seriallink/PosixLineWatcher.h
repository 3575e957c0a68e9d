#pragma once
// Waits for line events of an open tty without polling.
//
// The comm thread blocks in epoll_wait on three things: the port, registered edge-triggered for
// input, an eventfd that Wake() pulses, and — only while an output-empty event is wanted — a
// duplicate of the port registered edge-triggered for output. Edge-triggered input matters: the
// tty wakes its readers each time new bytes arrive, so an event is reported for new data only.
// Bytes left waiting (the main window reads them later with ReadString) never wake the thread
// again, so an idle or unread port costs no CPU. A hang-up (adapter pulled, pseudo-terminal
// closed) is reported as an error.
//
// Modem-line changes come from TIOCMIWAIT on a thread of its own. That ioctl cannot be woken by a
// descriptor, so StopModemWatch sends the thread a signal (a real-time signal with an empty
// handler, installed once) until it has ended. Drivers without TIOCMIWAIT (pseudo-terminals)
// end the watch at once; they simply report no modem-line events.
//
// Threads: Wait() on the comm thread only; Wake(), NoteTransmit(), Start/StopModemWatch() on any one
// other thread; the modem sink runs on the modem thread.
#include "SerialDevice.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class PosixLineWatcher : public LineEventSource {
public:
    explicit PosixLineWatcher(int fd);
    ~PosixLineWatcher() override;

    Result Wait() override;
    void Wake() override;
    void NoteTransmit() override;
    bool StartModemWatch(std::function<void(quint32 mask)> sink) override;
    void StopModemWatch() override;
    bool ModemWatchRunning() const override { return FModemRunning.load(); }

private:
    void ModemLoop(std::function<void(quint32)> sink);

    const int FFd;
    int FEpoll = -1;
    int FWakeFd = -1;
    int FTxFd = -1;
    bool FTxArmed = false;
    std::atomic<bool> FTxWanted{false};

    std::thread FModemThread;
    std::atomic<bool> FModemStop{false};
    std::atomic<bool> FModemRunning{false};
};
