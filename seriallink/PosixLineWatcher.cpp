#include "PosixLineWatcher.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
enum Tag : quint32 { TagPort = 1, TagWake = 2, TagTx = 3 };

int OutputQueued(int fd) {
    int out = 0;
    return ::ioctl(fd, TIOCOUTQ, &out) == -1 ? -1 : out;
}

bool SampleModemLines(int fd, ModemSample& sample) {
    if (::ioctl(fd, TIOCMGET, &sample.Lines) == -1)
        return false;
    sample.CountersKnown = ::ioctl(fd, TIOCGICOUNT, &sample.Counters) == 0;
    return true;
}
} // namespace

PosixLineWatcher::PosixLineWatcher(int fd, ModemSampler sampler) : FFd(fd), FSampler(std::move(sampler)) {
    if (!FSampler)
        FSampler = [fd](ModemSample& sample) { return SampleModemLines(fd, sample); };
    FCountersKnown = ::ioctl(fd, TIOCGICOUNT, &FCounters) == 0;
    FEpoll = ::epoll_create1(EPOLL_CLOEXEC);
    FWakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FTxFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    epoll_event port{};
    port.events = EPOLLIN | EPOLLET;
    port.data.u32 = TagPort;
    ::epoll_ctl(FEpoll, EPOLL_CTL_ADD, fd, &port);
    epoll_event wake{};
    wake.events = EPOLLIN;
    wake.data.u32 = TagWake;
    ::epoll_ctl(FEpoll, EPOLL_CTL_ADD, FWakeFd, &wake);
}

PosixLineWatcher::~PosixLineWatcher() {
    StopModemWatch();
    for (int fd : {FTxFd, FWakeFd, FEpoll})
        if (fd != -1)
            ::close(fd);
}

void PosixLineWatcher::Wake() {
    const quint64 one = 1;
    [[maybe_unused]] const ssize_t n = ::write(FWakeFd, &one, sizeof one);
}

void PosixLineWatcher::NoteTransmit() {
    FTxWanted = true;
    Wake();
}

LineEventSource::Result PosixLineWatcher::Wait() {
    Result result;
    while (result.Mask == 0 && result.Error == 0 && !result.Woken) {
        epoll_event events[3];
        const int n = ::epoll_wait(FEpoll, events, 3, -1);
        if (n == -1) {
            if (errno == EINTR)
                continue;
            result.Error = errno;
            break;
        }
        for (int i = 0; i < n; ++i) {
            const epoll_event& e = events[i];
            if (e.data.u32 == TagWake) {
                quint64 value = 0;
                [[maybe_unused]] const ssize_t r = ::read(FWakeFd, &value, sizeof value);
                result.Woken = true;
                if (FTxWanted.exchange(false) && !FTxArmed && FTxFd != -1) {
                    // Registering for output reports at once when there is room; the check below
                    // then looks at the queue.
                    epoll_event tx{};
                    tx.events = EPOLLOUT | EPOLLET;
                    tx.data.u32 = TagTx;
                    FTxArmed = ::epoll_ctl(FEpoll, EPOLL_CTL_ADD, FTxFd, &tx) == 0;
                }
            } else if (e.data.u32 == TagPort) {
                if (e.events & (EPOLLHUP | EPOLLERR)) {
                    result.Error = EIO;
                } else if (e.events & EPOLLIN) {
                    result.Mask |= NrEv::RxChar;
                    serial_icounter_struct now{};
                    if (FCountersKnown && ::ioctl(FFd, TIOCGICOUNT, &now) == 0) {
                        result.Mask |= ErrorEvents(FCounters, now);
                        FCounters = now;
                    }
                }
            } else if (e.data.u32 == TagTx) {
                const int queued = OutputQueued(FFd);
                if (queued == -1) {
                    result.Error = errno;
                } else if (queued == 0) {
                    result.Mask |= NrEv::TxEmpty;
                    ::epoll_ctl(FEpoll, EPOLL_CTL_DEL, FTxFd, nullptr);
                    FTxArmed = false;
                }
            }
        }
    }
    return result;
}

bool PosixLineWatcher::StartModemWatch(std::function<void(quint32 mask)> sink) {
    if (FModemThread.joinable())
        return FModemRunning;
    ModemSample first;
    if (!FSampler(first))
        return false; // no modem lines at all (pseudo-terminal)
    FModemStop = false;
    FModemRunning = true;
    FModemThread = std::thread([this, sink = std::move(sink), first] { ModemLoop(sink, first); });
    return true;
}

void PosixLineWatcher::ModemLoop(std::function<void(quint32)> sink, ModemSample before) {
    std::unique_lock lock(FModemMutex);
    while (!FModemStopped.wait_for(lock, std::chrono::milliseconds(ModemSampleMs),
                                   [this] { return FModemStop; })) {
        lock.unlock();
        ModemSample now;
        const bool sampled = FSampler(now);
        if (sampled) {
            if (const quint32 mask = ModemEvents(before, now))
                sink(mask);
            before = now;
        }
        lock.lock();
        if (!sampled)
            break; // the device went away: the comm thread reports that
    }
    FModemRunning = false;
}

void PosixLineWatcher::StopModemWatch() {
    if (!FModemThread.joinable())
        return;
    {
        std::lock_guard lock(FModemMutex);
        FModemStop = true;
    }
    FModemStopped.notify_all();
    FModemThread.join();
}

quint32 PosixLineWatcher::ModemEvents(const ModemSample& before, const ModemSample& now) {
    const int changed = before.Lines ^ now.Lines;
    quint32 mask = 0;
    if (changed & TIOCM_CTS)
        mask |= NrEv::Cts;
    if (changed & TIOCM_DSR)
        mask |= NrEv::Dsr;
    if (changed & TIOCM_CAR)
        mask |= NrEv::Rlsd;
    if (changed & TIOCM_RNG)
        mask |= NrEv::Ring;
    if (before.CountersKnown && now.CountersKnown) {
        // A line that went and came back between two samples changed its counter only.
        const serial_icounter_struct& a = before.Counters;
        const serial_icounter_struct& b = now.Counters;
        if (a.cts != b.cts)
            mask |= NrEv::Cts;
        if (a.dsr != b.dsr)
            mask |= NrEv::Dsr;
        if (a.dcd != b.dcd)
            mask |= NrEv::Rlsd;
        if (a.rng != b.rng)
            mask |= NrEv::Ring;
    }
    return mask;
}

quint32 PosixLineWatcher::ErrorEvents(const serial_icounter_struct& before,
                                      const serial_icounter_struct& now) {
    quint32 mask = 0;
    if (before.brk != now.brk)
        mask |= NrEv::Break;
    if (before.frame != now.frame || before.parity != now.parity || before.overrun != now.overrun ||
        before.buf_overrun != now.buf_overrun)
        mask |= NrEv::Err;
    return mask;
}
