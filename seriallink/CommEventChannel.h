#pragma once
// What the port's worker threads and its owner share while the port is open.
//
//   comm thread   waits on the LineEventSource and pushes event masks (PushEvent), or reports that
//                 the device failed (ReportFailure); it never touches the port's handle otherwise.
//   modem watch   pushes modem-line event masks (PushEvent).
//   msg thread    takes the masks in order (TakeEvent) and hands each to the owner (HandToOwner),
//                 waiting until the owner has run the receive dispatcher or the channel stops.
//   owner thread  sets the event mask, arms the channel once the port is fully open, stops the
//                 channel, and — woken through OwnerWakeFd(), which
//                 a QSocketNotifier watches — takes the hand-over (TakeHandOver / Done) and the
//                 failure (TakeFailure).
//
// Everything crossing threads is under one std::mutex; wake-ups go through eventfds. The hand-over
// never blocks the owner: Stop() releases a waiting msg thread, so closing the port from the owner
// thread cannot deadlock with a delivery in flight.
#include "SerialDevice.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

class CommEventChannel {
public:
    CommEventChannel(std::unique_ptr<LineEventSource> source, bool handToOwner);
    ~CommEventChannel();

    LineEventSource& Source() { return *FSource; }
    bool HandsToOwner() const { return FHandToOwner; }

    // ---- comm thread / modem watch ----
    // Blocks until the owner has armed the channel; false when stopped.
    bool WaitArmed();
    void PushEvent(quint32 mask);
    void ReportFailure(int error);
    void CommEnded();
    std::atomic<quint64> CommWakeups{0};

    // ---- msg thread ----
    // The next mask, once the channel is armed; empty when stopped, or when the comm thread has
    // ended and nothing is left.
    std::optional<quint32> TakeEvent();
    // Hands the mask to the owner and waits until it is dispatched; false when stopped meanwhile.
    bool HandToOwner(quint32 mask);
    void MsgEnded();

    // ---- owner thread ----
    void SetEventMask(quint32 mask);
    // Lets the comm thread wait for events: called when the port is fully open, so that no event
    // (and, without an application, no handler) runs while opening is still under way.
    void Arm();
    quint32 EventMask() const { return FEventMask.load(); }
    int OwnerWakeFd() const { return FOwnerWake; }
    void DrainOwnerWake();
    std::optional<quint32> TakeHandOver(quint64& sequence);
    void Done(quint64 sequence);
    bool Failed() const { return FFailed.load(); }
    int FailureError() const { return FFailureError.load(); }
    void Stop();
    bool Stopping() const { return FStop.load(); }
    // Waits up to ms for the msg thread to end.
    bool WaitMsgEnded(int ms);

private:
    void WakeOwner();

    std::unique_ptr<LineEventSource> FSource;
    const bool FHandToOwner;
    int FOwnerWake = -1;

    std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<quint32> FQueue;
    bool FArmed = false;
    bool FCommEnded = false;
    bool FMsgEnded = false;
    std::optional<quint32> FHandOver;
    quint64 FHandOverSeq = 0;
    quint64 FDoneSeq = 0;

    std::atomic<bool> FStop{false};
    std::atomic<bool> FFailed{false};
    std::atomic<int> FFailureError{0};
    std::atomic<quint32> FEventMask{0};
};
