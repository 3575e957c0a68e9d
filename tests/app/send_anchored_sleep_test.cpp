#include "app/SendAnchoredSleep.h"

#include <gtest/gtest.h>

#include <vector>

using namespace std::chrono_literals;

namespace {

// A clock that only moves when the test (or the recorded sleep) moves it.
struct ManualTime {
    SendAnchoredSleep::Clock::time_point now{};
    std::vector<SendAnchoredSleep::Clock::duration> slept;

    SendAnchoredSleep Sleeper() {
        return SendAnchoredSleep([this] { return now; },
                                 [this](SendAnchoredSleep::Clock::time_point until) {
                                     slept.push_back(until - now);
                                     now = until;
                                 });
    }
};

} // namespace

TEST(SendAnchoredSleep, EventsHandledAfterTheSendCountTowardsTheWait) {
    ManualTime t;
    SendAnchoredSleep sleep = t.Sleeper();
    sleep.FrameSent();
    t.now += 30ms; // the message pump repainted the window
    sleep.Wait(52);
    ASSERT_EQ(t.slept.size(), 1u);
    EXPECT_EQ(t.slept[0], 22ms);
}

TEST(SendAnchoredSleep, NoSleepWhenTheWaitHasAlreadyPassed) {
    ManualTime t;
    SendAnchoredSleep sleep = t.Sleeper();
    sleep.FrameSent();
    t.now += 60ms;
    sleep.Wait(52);
    EXPECT_TRUE(t.slept.empty());
}

TEST(SendAnchoredSleep, WithoutASentFrameTheWholeWaitIsSlept) {
    ManualTime t;
    SendAnchoredSleep sleep = t.Sleeper();
    sleep.Wait(1044);
    ASSERT_EQ(t.slept.size(), 1u);
    EXPECT_EQ(t.slept[0], 1044ms);

    // A send time is used once: a later wait with no new frame does not reuse a stale anchor.
    sleep.FrameSent();
    t.now += 10ms;
    sleep.Wait(52);
    t.now += 100ms;
    sleep.Wait(22);
    ASSERT_EQ(t.slept.size(), 3u);
    EXPECT_EQ(t.slept[1], 42ms);
    EXPECT_EQ(t.slept[2], 22ms);
}
