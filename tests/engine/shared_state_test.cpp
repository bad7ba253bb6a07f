// Note events on the main thread against a glide tick on another thread that
// follows the shared-state rules of the performance state: the tick moves a
// slide only with a compare-and-swap of the whole glide set, so no event's
// set is ever overwritten by an older one. Run under the thread sanitizer.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include <pthread.h>
#include <sched.h>

#include <gtest/gtest.h>

#include "engine/bend.h"
#include "engine/engine_lock.h"
#include "engine/glide.h"
#include "engine/messages.h"
#include "engine/transmission.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;

TEST(SharedState, AConcurrentTickNeverOverwritesTheSetOfANewerNoteEvent) {
    EngineRig rig;
    ChannelRecord& layer = Listen(rig.s.Bank.WorkingMix.Channels[0], 17);
    layer.MD = 3;
    layer.Scl = 1;
    rig.s.Bank.WorkingMix.PortaSpeed = 3;
    ChannelPerformance& p = rig.s.Performance.Channels[0];

    std::atomic<bool> stop{false};
    std::thread tick([&] {
        while (!stop.load(std::memory_order_relaxed)) {
            GlideSet seen = p.Glide.load(std::memory_order_acquire);
            if (seen.GlideCurrent != seen.GlideTarget)
                p.Glide.compare_exchange_strong(seen, GlideStepped(seen), std::memory_order_acq_rel);
            p.BendDirty.exchange(false, std::memory_order_acq_rel);
            static_cast<void>(LayerBend(rig.s, 0));  // reads every term as a tick composes them
        }
    });
    int last = 60;
    for (int k = 0; k < 3000; ++k) {
        last = 48 + k % 25;
        rig.Play(1, On(0, 60, 100));
        rig.Play(1, On(0, last, 100));
        rig.Play(1, PackShortMessage(0xE0, 0, k % 128, k % 128));
        if (k + 1 == 3000) break;
        rig.Play(1, Off(0, last));
        rig.Play(1, Off(0, 60));
    }
    stop = true;
    tick.join();

    GlideSet g = p.Glide.load();
    const int expected = 8192 + std::clamp(last - 60, -14, 14) * 512;
    EXPECT_EQ(g.GlideTarget, expected);
    while (g.GlideCurrent != g.GlideTarget) g = GlideStepped(g);
    EXPECT_EQ(g.GlideCurrent, expected);
}

// The real tick beside the main thread's note events, wheel moves, mix loads
// (which write BendRange) and transmissions (which reset glide sets).
TEST(SharedState, TheGlideTickRunsBesideNoteEventsMixLoadsAndTransmissions) {
    EngineRig rig;
    for (uint32_t n = 0; n < 2; ++n) {
        Mix& m = rig.s.Bank.Bank.Slots[n];
        Listen(m.Channels[0], 17).MD = static_cast<uint8_t>(3 - n);
        m.BendRange = static_cast<uint8_t>(2 + 10 * n);
        m.PortaSpeed = 5;
    }
    LoadMix(rig.s.Bank, 0);
    rig.midi.SetRecording(false);

    std::atomic<bool> stop{false};
    std::thread tick([&] {
        while (!stop.load(std::memory_order_relaxed)) GlideTick(&rig.s);
    });
    for (int k = 0; k < 2000; ++k) {
        rig.Play(1, On(0, 60, 100));
        rig.Play(1, On(0, 48 + k % 25, 100));
        rig.Play(1, PackShortMessage(0xE0, 0, k % 128, k % 128));
        rig.Play(1, Off(0, 48 + k % 25));
        rig.Play(1, Off(0, 60));
        if (k % 100 == 0) {
            LoadMix(rig.s.Bank, static_cast<uint32_t>(k / 100 % 2));
            TransmitMix(rig.s);
        }
    }
    stop = true;
    tick.join();

    // Every slide left running ends at its target.
    for (int k = 0; k < 20000; ++k) GlideTick(&rig.s);
    const GlideSet g = rig.s.Performance.Channels[0].Glide.load();
    EXPECT_EQ(g.GlideCurrent, g.GlideTarget);
}

// A thread waiting for the engine lock is its owner from the moment it gets
// it, also once the unlock that handed it over has returned: its try-lock
// path must still know it holds the lock. Both threads share one core and
// the waiter runs at real-time priority, so it takes the lock and runs
// before the unlocking thread's Unlock returns.
TEST(SharedState, TheEngineLocksNextHolderIsItsOwnerAfterAContendedUnlock) {
    cpu_set_t all;
    ASSERT_EQ(pthread_getaffinity_np(pthread_self(), sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    ASSERT_EQ(pthread_setaffinity_np(pthread_self(), sizeof one, &one), 0);
    EngineLock lock;
    int misjudged = 0;
    bool preempts = true;
    for (int round = 0; round < 20; ++round) {
        std::atomic<bool> unlocked{false};
        std::atomic<bool> owner{false};
        lock.Lock();
        std::thread next([&] {
            lock.Lock();
            unlocked.wait(false);
            owner = lock.HeldByThisThread();
            lock.Unlock();
        });
        EXPECT_EQ(pthread_setaffinity_np(next.native_handle(), sizeof one, &one), 0);
        const sched_param realTime{.sched_priority = 1};
        preempts &= pthread_setschedparam(next.native_handle(), SCHED_FIFO, &realTime) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));  // it waits for the lock
        lock.Unlock();
        unlocked = true;
        unlocked.notify_one();
        next.join();
        misjudged += owner ? 0 : 1;
    }
    pthread_setaffinity_np(pthread_self(), sizeof all, &all);
    EXPECT_EQ(misjudged, 0);
    if (!preempts) std::printf("no real-time priority here: the handover may not have been observed\n");
}

}  // namespace
}  // namespace cadenzo
