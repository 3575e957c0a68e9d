#include "PosixLineWatcher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <linux/serial.h>

namespace {
enum Tag : quint32 { TagPort = 1, TagWake = 2, TagTx = 3 };

int ModemWakeSignal() {
    return SIGRTMIN + 3;
}

void NoOpHandler(int) {}

void InstallModemWakeHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        ::sigaction(ModemWakeSignal(), nullptr, &current);
        if (current.sa_handler != SIG_DFL)
            return; // someone else owns the signal: leave it
        struct sigaction sa {};
        sa.sa_handler = NoOpHandler;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0; // no SA_RESTART: the blocked ioctl must return EINTR
        ::sigaction(ModemWakeSignal(), &sa, nullptr);
    });
}

int OutputQueued(int fd) {
    int out = 0;
    return ::ioctl(fd, TIOCOUTQ, &out) == -1 ? -1 : out;
}
} // namespace

PosixLineWatcher::PosixLineWatcher(int fd) : FFd(fd) {
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
                if (e.events & (EPOLLHUP | EPOLLERR))
                    result.Error = EIO;
                else if (e.events & EPOLLIN)
                    result.Mask |= NrEv::RxChar;
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
    int lines = 0;
    if (::ioctl(FFd, TIOCMGET, &lines) == -1)
        return false; // no modem lines at all (pseudo-terminal)
    InstallModemWakeHandler();
    FModemStop = false;
    FModemRunning = true;
    FModemThread = std::thread([this, sink = std::move(sink)] { ModemLoop(sink); });
    return true;
}

void PosixLineWatcher::ModemLoop(std::function<void(quint32)> sink) {
    int before = 0;
    ::ioctl(FFd, TIOCMGET, &before);
    serial_icounter_struct countBefore{};
    const bool counters = ::ioctl(FFd, TIOCGICOUNT, &countBefore) == 0;
    while (!FModemStop) {
        if (::ioctl(FFd, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR | TIOCM_CAR | TIOCM_RNG) == -1) {
            if (errno == EINTR)
                continue;
            break; // ENOTTY/EINVAL: not supported here; EIO: the device went away
        }
        int now = 0;
        if (::ioctl(FFd, TIOCMGET, &now) == -1)
            break;
        const int changed = now ^ before;
        quint32 mask = 0;
        if (changed & TIOCM_CTS)
            mask |= NrEv::Cts;
        if (changed & TIOCM_DSR)
            mask |= NrEv::Dsr;
        if (changed & TIOCM_CAR)
            mask |= NrEv::Rlsd;
        serial_icounter_struct countNow{};
        if (counters && ::ioctl(FFd, TIOCGICOUNT, &countNow) == 0) {
            if (countNow.rng != countBefore.rng)
                mask |= NrEv::Ring;
            countBefore = countNow;
        } else if (changed & TIOCM_RNG) {
            mask |= NrEv::Ring;
        }
        before = now;
        if (mask && !FModemStop)
            sink(mask);
    }
    FModemRunning = false;
}

void PosixLineWatcher::StopModemWatch() {
    if (!FModemThread.joinable())
        return;
    FModemStop = true;
    // The signal may land just before the thread enters the ioctl; repeat until it has left.
    for (int i = 0; i < 1000 && FModemRunning; ++i) {
        ::pthread_kill(FModemThread.native_handle(), ModemWakeSignal());
        ::usleep(1000);
    }
    FModemThread.join();
}
