#pragma once
// A line-event source the test drives: line events and modem-line changes arrive when the test says
// so, through the same channel and dispatcher as the platform's. InjectedPort is the real POSIX
// port (on a pseudo-terminal) with this source in place of its own, and line errors on demand.
#include "SerialDevice.h"
#include "TestPorts.h"

#include <condition_variable>
#include <deque>
#include <mutex>

class InjectedLineSource : public LineEventSource {
public:
    // ---- the test's side (any thread) ----
    void Raise(quint32 mask) {
        {
            std::lock_guard lock(FMutex);
            FPending.push_back(mask);
        }
        FChanged.notify_all();
    }
    // Reports modem-line changes as the modem watch would; false when no watch runs.
    bool RaiseModem(quint32 mask) {
        std::lock_guard lock(FMutex);
        if (!FModemSink)
            return false;
        FModemSink(mask);
        return true;
    }

    // ---- LineEventSource ----
    Result Wait() override {
        std::unique_lock lock(FMutex);
        FChanged.wait(lock, [this] { return FWoken || !FPending.empty(); });
        Result r;
        if (!FPending.empty()) {
            r.Mask = FPending.front();
            FPending.pop_front();
        } else {
            r.Woken = true;
            FWoken = false;
        }
        return r;
    }
    void Wake() override {
        {
            std::lock_guard lock(FMutex);
            FWoken = true;
        }
        FChanged.notify_all();
    }
    void NoteTransmit() override {}
    bool StartModemWatch(std::function<void(quint32 mask)> sink) override {
        std::lock_guard lock(FMutex);
        FModemSink = std::move(sink);
        return true;
    }
    void StopModemWatch() override {
        std::lock_guard lock(FMutex);
        FModemSink = nullptr;
    }
    bool ModemWatchRunning() const override {
        std::lock_guard lock(FMutex);
        return FModemSink != nullptr;
    }

private:
    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<quint32> FPending;
    bool FWoken = false;
    std::function<void(quint32)> FModemSink;
};

class InjectedPort : public CountingPort {
public:
    std::unique_ptr<LineEventSource> CreateEventSource() override {
        auto source = std::make_unique<InjectedLineSource>();
        std::lock_guard lock(FMutex);
        FSource = source.get();
        return source;
    }
    // The source of the open port (owned by the component's channel while the port is open).
    InjectedLineSource* Source() {
        std::lock_guard lock(FMutex);
        return FSource;
    }

private:
    std::mutex FMutex;
    InjectedLineSource* FSource = nullptr;
};
