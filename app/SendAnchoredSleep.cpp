#include "app/SendAnchoredSleep.h"

#include <thread>

SendAnchoredSleep::SendAnchoredSleep()
    : SendAnchoredSleep(&Clock::now, [](Clock::time_point until) { std::this_thread::sleep_until(until); }) {}

SendAnchoredSleep::SendAnchoredSleep(Now now, SleepUntil sleepUntil)
    : now_(std::move(now)), sleepUntil_(std::move(sleepUntil)) {}

void SendAnchoredSleep::FrameSent() {
    sentAt_ = now_();
}

void SendAnchoredSleep::Wait(int milliseconds) {
    const Clock::time_point from = sentAt_.value_or(now_());
    sentAt_.reset();
    const Clock::time_point until = from + std::chrono::milliseconds(milliseconds);
    if (now_() < until)
        sleepUntil_(until);
}
