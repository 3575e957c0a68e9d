#pragma once
// The comm thread: waits for line events of the open port (no polling) and pushes their masks, in
// the order seen, to the channel. When the device fails it reports the failure and ends; it never
// closes the port itself — the owner does that on its own thread once this thread has ended.
// Created, stopped and joined by the owner thread; runs only CommEventChannel and LineEventSource calls.
#include <memory>
#include <thread>

class CommEventChannel;

class TCommThread {
public:
    explicit TCommThread(std::shared_ptr<CommEventChannel> channel);
    ~TCommThread();
    // Waits until the thread has ended; the channel must have been stopped or have failed.
    void Join();
    bool Running() const;

private:
    static void Execute(std::shared_ptr<CommEventChannel> channel,
                        std::shared_ptr<std::atomic<bool>> running);

    std::shared_ptr<std::atomic<bool>> FRunning;
    std::thread FThread;
};
