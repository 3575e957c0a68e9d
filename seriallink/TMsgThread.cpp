#include "TMsgThread.h"

#include "CommEventChannel.h"

#include <QtGlobal>

TMsgThread::TMsgThread(std::shared_ptr<CommEventChannel> channel, Dispatcher dispatcher)
    : FChannel(channel), FRunning(std::make_shared<std::atomic<bool>>(true)),
      FThread(&TMsgThread::Execute, channel, std::move(dispatcher), FRunning) {}

TMsgThread::~TMsgThread() {
    if (!Finish())
        FThread.detach(); // destroyed from its own handler: it ends when that returns
}

bool TMsgThread::Finish() {
    if (!FThread.joinable())
        return true;
    if (FThread.get_id() == std::this_thread::get_id())
        return false;
    if (!FChannel->WaitMsgEnded(1000))
        qWarning("nrComm: a receive handler is still running on the message thread; the port closes "
                 "when it returns");
    FThread.join();
    return true;
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
