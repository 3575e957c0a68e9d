#pragma once
// The message thread: takes the event masks from the channel in order and hands each to the owner
// thread, where the receive dispatcher runs, waiting until it has run — so at most one line event is
// in the dispatcher at a time. Where no QCoreApplication exists it runs the dispatcher itself.
// Ends when the channel stops, or when the comm thread has ended and every mask is delivered.
// Created and stopped by the owner thread.
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class CommEventChannel;

class TMsgThread {
public:
    using Dispatcher = std::function<void(quint32 mask)>;

    // dispatcher is called on this thread only when the channel does not hand to its owner.
    TMsgThread(std::shared_ptr<CommEventChannel> channel, Dispatcher dispatcher);
    ~TMsgThread();
    // Waits for the thread to end after the channel stopped. With an application the thread only
    // forwards and ends at once; without one it first returns from the dispatch in progress, which
    // may hold the port's buffers, so it is never left running. False, without waiting, when
    // called on this thread itself (a handler closing the port).
    bool Finish();
    bool Running() const { return FRunning->load(); }

private:
    static void Execute(std::shared_ptr<CommEventChannel> channel, Dispatcher dispatcher,
                        std::shared_ptr<std::atomic<bool>> running);

    std::shared_ptr<CommEventChannel> FChannel;
    std::shared_ptr<std::atomic<bool>> FRunning;
    std::thread FThread;
};
