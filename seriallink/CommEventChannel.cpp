#include "CommEventChannel.h"

#include <sys/eventfd.h>
#include <unistd.h>

CommEventChannel::CommEventChannel(std::unique_ptr<LineEventSource> source, bool handToOwner)
    : FSource(std::move(source)), FHandToOwner(handToOwner) {
    FOwnerWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

CommEventChannel::~CommEventChannel() {
    FSource->StopModemWatch();
    if (FOwnerWake != -1)
        ::close(FOwnerWake);
}

bool CommEventChannel::WaitArmed() {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return FArmed || FStop; });
    return !FStop;
}

void CommEventChannel::PushEvent(quint32 mask) {
    {
        std::lock_guard lock(FMutex);
        if (FStop)
            return;
        // A receive event still queued already makes the dispatcher look at every waiting byte.
        if (mask == NrEv::RxChar && !FQueue.empty() && (FQueue.back() & NrEv::RxChar))
            return;
        FQueue.push_back(mask);
    }
    FChanged.notify_all();
}

void CommEventChannel::ReportFailure(int error) {
    FFailureError = error;
    FFailed = true;
    WakeOwner();
}

void CommEventChannel::CommEnded() {
    {
        std::lock_guard lock(FMutex);
        FCommEnded = true;
    }
    FChanged.notify_all();
}

std::optional<quint32> CommEventChannel::TakeEvent() {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return FStop || (FArmed && !FQueue.empty()) || FCommEnded; });
    if (FStop || FQueue.empty())
        return std::nullopt;
    const quint32 mask = FQueue.front();
    FQueue.pop_front();
    return mask;
}

bool CommEventChannel::HandToOwner(quint32 mask) {
    std::unique_lock lock(FMutex);
    if (FStop)
        return false;
    const quint64 seq = ++FHandOverSeq;
    FHandOver = mask;
    WakeOwner();
    FChanged.wait(lock, [&] { return FStop || FDoneSeq >= seq; });
    return !FStop;
}

void CommEventChannel::MsgEnded() {
    {
        std::lock_guard lock(FMutex);
        FMsgEnded = true;
    }
    FChanged.notify_all();
}

void CommEventChannel::SetEventMask(quint32 mask) {
    FEventMask = mask;
}

void CommEventChannel::Arm() {
    {
        std::lock_guard lock(FMutex);
        FArmed = true;
    }
    FChanged.notify_all();
}

void CommEventChannel::DrainOwnerWake() {
    quint64 value = 0;
    [[maybe_unused]] const ssize_t n = ::read(FOwnerWake, &value, sizeof value);
}

std::optional<quint32> CommEventChannel::TakeHandOver(quint64& sequence) {
    std::lock_guard lock(FMutex);
    std::optional<quint32> mask = FHandOver;
    FHandOver.reset();
    sequence = FHandOverSeq;
    return mask;
}

void CommEventChannel::Done(quint64 sequence) {
    {
        std::lock_guard lock(FMutex);
        FDoneSeq = qMax(FDoneSeq, sequence);
    }
    FChanged.notify_all();
}

void CommEventChannel::Stop() {
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    FSource->Wake();
}

bool CommEventChannel::WaitMsgEnded(int ms) {
    std::unique_lock lock(FMutex);
    return FChanged.wait_for(lock, std::chrono::milliseconds(ms), [this] { return FMsgEnded; });
}

void CommEventChannel::WakeOwner() {
    const quint64 one = 1;
    [[maybe_unused]] const ssize_t n = ::write(FOwnerWake, &one, sizeof one);
}
