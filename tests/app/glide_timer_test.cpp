#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "app/glide_timer.h"
#include "app/thread_timer.h"
#include "support/fake_timer.h"
#include "support/recorders.h"

namespace cadenzo {
namespace {

using test::FakeTimer;
using test::RecordingDialogs;

TEST(GlideTimerPeriod, SmallestPeriodRaisedToOneThenLimitedByTheLargest) {
    EXPECT_EQ(ChooseGlideTimerPeriod({0, 1000000}), 1u);
    EXPECT_EQ(ChooseGlideTimerPeriod({1, 1000000}), 1u);
    EXPECT_EQ(ChooseGlideTimerPeriod({5, 1000000}), 5u);
    EXPECT_EQ(ChooseGlideTimerPeriod({5, 3}), 3u);
    EXPECT_EQ(ChooseGlideTimerPeriod({0, 0}), 0u);
}

void CountTick(void* user) { ++*static_cast<int*>(user); }

TEST(GlideTimer, StartsAtConstructionAndStopsAtDestruction) {
    FakeTimer timer;
    timer.caps = {0, 10};
    RecordingDialogs dialogs;
    int ticks = 0;
    {
        GlideTimer glide(timer, dialogs, &CountTick, &ticks);
        EXPECT_EQ(glide.Period(), 1u);
        EXPECT_EQ(glide.Id(), 42u);
        timer.Tick();
        timer.Tick();
    }
    timer.Tick();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"begin 1", "set 1 1", "kill 42", "end 1"}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(GlideTimer, FailureIsReportedWithTheErrorIconAndCleanupStillRuns) {
    FakeTimer timer;
    timer.fail = true;
    RecordingDialogs dialogs;
    int ticks = 0;
    {
        GlideTimer glide(timer, dialogs, &CountTick, &ticks);
        EXPECT_EQ(glide.Id(), 0u);
    }
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0], (test::ShownBox{"timeSetEvent", "ERRORR!", MessageIcon::Error}));
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"begin 1", "set 1 1", "kill 0", "end 1"}));
}

void CountAtomicTick(void* user) { static_cast<std::atomic<int>*>(user)->fetch_add(1); }

TEST(ThreadTimer, TicksOnItsOwnThreadUntilKilled) {
    ThreadTimer timer;
    std::atomic<int> ticks{0};
    const uint32_t id = timer.SetEvent(1, 1, &CountAtomicTick, &ticks);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(timer.SetEvent(1, 1, &CountAtomicTick, &ticks), 0u);  // one event at a time
    while (ticks.load() < 5) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    timer.KillEvent(id);
    const int after = ticks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ticks.load(), after);
    timer.KillEvent(id);  // a second kill is harmless
}

}  // namespace
}  // namespace cadenzo
