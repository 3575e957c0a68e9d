#pragma once

#include <chrono>
#include <functional>
#include <optional>

// The window's reply wait, counted from the moment the frame was handed to the line. The events that
// the transaction lets run before its wait (repainting the traffic log, the lamp) then count towards the
// wait instead of lengthening every exchange; the terminal still gets the whole wait to answer.
// User-interface thread only, like the transaction that calls it.
class SendAnchoredSleep {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;
    using SleepUntil = std::function<void(Clock::time_point)>;

    SendAnchoredSleep(); // the steady clock and a real sleep
    SendAnchoredSleep(Now now, SleepUntil sleepUntil);

    // The port adapter calls this when a frame has been written.
    void FrameSent();

    // Sleeps until the last frame's send time plus the wait; returns at once when that has passed.
    // With no frame sent since the last wait it sleeps the whole wait from now.
    void Wait(int milliseconds);

private:
    Now now_;
    SleepUntil sleepUntil_;
    std::optional<Clock::time_point> sentAt_;
};
