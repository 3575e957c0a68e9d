#pragma once
// Waits for line events of an open tty without polling.
//
// The comm thread blocks in epoll_wait on three things: the port, registered edge-triggered for
// input, an eventfd that Wake() pulses, and — only while an output-empty event is wanted — a
// duplicate of the port registered edge-triggered for output. Edge-triggered input matters: the
// tty wakes its readers each time new bytes arrive, so an event is reported for new data only.
// Bytes left waiting (the main window reads them later with ReadString) never wake the thread
// again, so an idle or unread port costs no CPU. A hang-up (adapter pulled, pseudo-terminal
// closed) is reported as an error. With each receive event the driver's error counters
// (TIOCGICOUNT, kept by real UARTs and USB adapters) are compared: a new break gives the break
// event, a new frame, parity or overrun error the line-error event.
//
// Modem-line changes are sampled on a thread of their own every ModemSampleMs: the line states
// (TIOCMGET) and, where the driver keeps them, the change counters, so a pulse shorter than the
// period (a ring) is still seen. Linux offers only TIOCMIWAIT to wait for these lines, and that
// ioctl can be left only through a signal, which another part of the program may take or ignore;
// the sampling thread instead waits on a condition variable, so its stop cannot be lost. Drivers
// without modem lines (pseudo-terminals) start no such thread.
//
// Threads: Wait() on the comm thread only; Wake(), NoteTransmit(), Start/StopModemWatch() on any one
// other thread; the modem sink and the sampler run on the modem thread.
#include "SerialDevice.h"

#include <atomic>
#include <condition_variable>
#include <linux/serial.h>
#include <mutex>
#include <thread>

// One look at the modem input lines.
struct ModemSample {
    int Lines = 0; // TIOCM_CTS, TIOCM_DSR, TIOCM_CAR, TIOCM_RNG
    bool CountersKnown = false;
    serial_icounter_struct Counters{};
};

class PosixLineWatcher : public LineEventSource {
public:
    // Takes a sample; false when the device has no modem lines (or they can no longer be read).
    using ModemSampler = std::function<bool(ModemSample& sample)>;
    static constexpr int ModemSampleMs = 50;

    // sampler: where the modem lines are read; by default from fd.
    explicit PosixLineWatcher(int fd, ModemSampler sampler = {});
    ~PosixLineWatcher() override;

    Result Wait() override;
    void Wake() override;
    void NoteTransmit() override;
    bool StartModemWatch(std::function<void(quint32 mask)> sink) override;
    void StopModemWatch() override;
    bool ModemWatchRunning() const override { return FModemRunning.load(); }

    // The modem event bits between two samples.
    static quint32 ModemEvents(const ModemSample& before, const ModemSample& now);
    // The break and line-error event bits between two readings of the error counters.
    static quint32 ErrorEvents(const serial_icounter_struct& before, const serial_icounter_struct& now);

private:
    void ModemLoop(std::function<void(quint32)> sink, ModemSample before);

    const int FFd;
    int FEpoll = -1;
    int FWakeFd = -1;
    int FTxFd = -1;
    bool FTxArmed = false;
    std::atomic<bool> FTxWanted{false};
    // Error counters as the comm thread last saw them.
    bool FCountersKnown = false;
    serial_icounter_struct FCounters{};

    ModemSampler FSampler;
    std::thread FModemThread;
    std::mutex FModemMutex;
    std::condition_variable FModemStopped;
    bool FModemStop = false;
    std::atomic<bool> FModemRunning{false};
};
