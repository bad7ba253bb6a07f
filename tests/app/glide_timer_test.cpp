#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "app/thread_timer.h"
#include "engine/glide.h"
#include "engine/glide_timer.h"
#include "engine/messages.h"
#include "support/engine_rig.h"
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

// The glide tick on the real timer, counted.
struct CountedGlide {
    SystemState* s;
    std::atomic<int> ticks{0};
    static void Tick(void* user) {
        auto& self = *static_cast<CountedGlide*>(user);
        GlideTick(self.s);
        self.ticks.fetch_add(1);
    }
    static bool Resting(void* user) { return GlideResting(static_cast<CountedGlide*>(user)->s); }
};

// The pitch bends sent to the synthesiser on channel 1 so far.
size_t BendsSent(const test::EngineRig& rig) {
    const auto sent = rig.Synth();
    return static_cast<size_t>(std::count_if(sent.begin(), sent.end(), [](ShortMessage m) { return (m & 0xFF) == 0xE0; }));
}

// Waits up to a second for more than `count` bends.
bool MoreBendsThan(const test::EngineRig& rig, size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (BendsSent(rig) <= count) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// An idle program wakes no thread every millisecond, yet a slide or a wheel
// still moves at once.
TEST(ThreadTimer, TheGlideTickRestsWhileNothingMovesAndWakesForASlideAndTheWheel) {
    test::EngineRig rig;
    test::Listen(rig.s.Bank.WorkingMix.Channels[0], 17).MD = 3;  // portamento
    rig.s.Bank.WorkingMix.PortaSpeed = 10;
    CountedGlide glide{&rig.s};
    ThreadTimer timer;
    RecordingDialogs dialogs;
    GlideTimer running(timer, dialogs, &CountedGlide::Tick, &glide,
                       TimerRest{&CountedGlide::Resting, &rig.s.Performance.TickWanted});
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_LE(glide.ticks.load(), 2) << "ticks while nothing moves";

    rig.Play(1, test::On(0, 60, 100));
    const size_t before = BendsSent(rig);
    rig.Play(1, test::On(0, 62, 100));  // a slide of ten ticks
    EXPECT_TRUE(MoreBendsThan(rig, before + 9)) << "the slide moves";
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const int afterSlide = glide.ticks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_LE(glide.ticks.load(), afterSlide + 1) << "ticks after the slide ended";

    const size_t slid = BendsSent(rig);
    rig.Play(1, test::Bend(0, 0x3000));  // the wheel's bend is sent by the tick
    EXPECT_TRUE(MoreBendsThan(rig, slid));
}

}  // namespace
}  // namespace cadenzo
