#include "TMsgThread.h"

#include "CommEventChannel.h"

TMsgThread::TMsgThread(std::shared_ptr<CommEventChannel> channel, Dispatcher dispatcher)
    : FChannel(channel), FRunning(std::make_shared<std::atomic<bool>>(true)),
      FThread(&TMsgThread::Execute, channel, std::move(dispatcher), FRunning) {}

TMsgThread::~TMsgThread() {
    Finish(1000);
}

bool TMsgThread::Finish(int ms) {
    if (!FThread.joinable())
        return true;
    if (FThread.get_id() == std::this_thread::get_id()) {
        FThread.detach();
        return true;
    }
    if (FChannel->WaitMsgEnded(ms)) {
        FThread.join();
        return true;
    }
    FThread.detach();
    return false;
}

void TMsgThread::Execute(std::shared_ptr<CommEventChannel> channel, Dispatcher dispatcher,
                         std::shared_ptr<std::atomic<bool>> running) {
    while (const std::optional<quint32> mask = channel->TakeEvent()) {
        if (channel->HandsToOwner()) {
            if (!channel->HandToOwner(*mask))
                break;
        } else if (dispatcher) {
            dispatcher(*mask);
        }
    }
    running->store(false);
    channel->MsgEnded();
}
