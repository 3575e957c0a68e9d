#include "TCommThread.h"

#include "CommEventChannel.h"

TCommThread::TCommThread(std::shared_ptr<CommEventChannel> channel)
    : FRunning(std::make_shared<std::atomic<bool>>(true)), FThread(&TCommThread::Execute, channel, FRunning) {
}

TCommThread::~TCommThread() {
    Join();
}

void TCommThread::Join() {
    if (FThread.joinable())
        FThread.join();
}

bool TCommThread::Running() const {
    return FRunning->load();
}

void TCommThread::Execute(std::shared_ptr<CommEventChannel> channel,
                          std::shared_ptr<std::atomic<bool>> running) {
    // Nothing is forwarded before the owner has armed the channel at the end of opening; bytes
    // arriving meanwhile are reported by the first wait.
    if (channel->WaitArmed()) {
        for (;;) {
            const LineEventSource::Result r = channel->Source().Wait();
            if (channel->Stopping())
                break;
            ++channel->CommWakeups;
            if (r.Error) {
                channel->ReportFailure(r.Error);
                break;
            }
            const quint32 mask = r.Mask & channel->EventMask();
            if (mask)
                channel->PushEvent(mask);
        }
    }
    channel->CommEnded();
    running->store(false);
}
