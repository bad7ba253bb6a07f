// The transport under concurrent use: two input threads feeding the queue
// while the main thread drains it, and two threads sending on the synth
// port while it is closed and reopened. Run under the thread sanitizer.
#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "engine/output.h"
#include "midi/output_slot.h"
#include "midi/real_time_priority.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

// The queue alone, read here: the dispatch is held as while a message box is open.
TEST(TransportThreads, TwoInputsAtFullSpeedReachTheQueueCompleteAndInOrder) {
    test::EngineRig rig;
    HoldDispatch(rig.s.Input);
    constexpr uint32_t kPerInput = 100000;
    std::array<std::atomic<uint32_t>, 2> consumed{};
    auto produce = [&](uint32_t device) {
        for (uint32_t i = 0; i < kPerInput; ++i) {
            // Keep each input below half the queue, so nothing is refused.
            while (i >= consumed[device].load(std::memory_order_acquire) + 400) std::this_thread::yield();
            rig.midi.Feed(device, i & 0xFFFFFF);
        }
    };
    std::thread in1(produce, 0);
    std::thread in2(produce, 1);
    std::array<uint32_t, 2> next{};
    bool inOrder = true;
    // A lost entry would stall the producers; the deadline turns that into a failure.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((next[0] < kPerInput || next[1] < kPerInput) && std::chrono::steady_clock::now() < deadline) {
        uint32_t e = 0;
        if (!rig.s.Input.Queue.Pop(e)) {
            std::this_thread::yield();
            continue;
        }
        const uint32_t port = (e >> 24) - 1;
        inOrder = inOrder && port < 2 && (e & 0xFFFFFF) == (next[port] & 0xFFFFFF);
        consumed[port].store(++next[port], std::memory_order_release);
    }
    const bool complete = next[0] == kPerInput && next[1] == kPerInput;
    if (!complete) consumed[0] = consumed[1] = kPerInput;  // release the producers
    in1.join();
    in2.join();
    EXPECT_TRUE(complete) << next[0] << " " << next[1];
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(rig.s.Input.Queue.Empty());
}

TEST(TransportThreads, SendsFromTwoThreadsSurviveThePortClosingAndReopening) {
    test::EngineRig rig;
    std::atomic<bool> stop{false};
    auto send = [&](uint32_t channel) {
        int32_t bend = 0;
        while (!stop.load(std::memory_order_relaxed)) SendToSynth(rig.s, PackPitchBend(channel, bend++ & 0x3FFF));
    };
    std::thread glide(send, 1);
    std::thread main2(send, 2);
    for (int i = 0; i < 300; ++i) {
        SelectSynthOutPort(rig.s, 0);
        SendToSynth(rig.s, 0x403C90);
        SelectSynthOutPort(rig.s, 1);
    }
    stop = true;
    glide.join();
    main2.join();
    EXPECT_TRUE(rig.dialogs.boxes.empty());
    for (ShortMessage m : rig.Synth()) {
        const uint32_t status = m & 0xFF;
        ASSERT_TRUE(status == 0xE1 || status == 0xE2) << std::hex << m;
        ASSERT_EQ(m & 0xFF000000u, 0u);
    }
}

bool MakeRealTime() {
    sched_param param{};
    param.sched_priority = 10;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

// A helper the JACK process thread may wait on stays below it (the server
// at 10 puts our client at 5), or runs without real-time priority when the
// server has none; under ALSA the playing threads take what they ask for.
TEST(TransportThreads, HelperPrioritiesStayBelowTheServersClient) {
    struct Row {
        int wanted;
        std::optional<int> server;
        int priority;
    };
    for (const Row& row : {Row{kPlayingPriority, std::nullopt, 40}, Row{kGlidePriority, std::nullopt, 1},
                           Row{kPlayingPriority, 5, 4}, Row{kGlidePriority, 5, 1}, Row{kPlayingPriority, 80, 40},
                           Row{kPlayingPriority, 1, 0}, Row{kPlayingPriority, 0, 0}, Row{kGlidePriority, 0, 0}}) {
        EXPECT_EQ(HelperPriority(row.wanted, row.server), row.priority)
            << row.wanted << " under " << row.server.value_or(-1);
    }
    EXPECT_FALSE(TakeRealTimePriority(0));
}

// An output whose first send stays inside the port until it is let go, or
// a few seconds have passed.
class HoldingOutput final : public MidiOutputPort {
public:
    void Send(ShortMessage m) override {
        if (m != 1) {
            passedWhileHeld = entered && !letGo;
            return;
        }
        entered = true;
        for (int i = 0; i < 3000 && !letGo; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::atomic<bool> entered{false};
    std::atomic<bool> letGo{false};
    std::atomic<bool> passedWhileHeld{false};
};

// The process thread sends on a port while the main thread is inside a
// send on it: it never waits for the other send to end (there is no lock
// whose holder it would have to lend its priority to).
TEST(TransportThreads, ARealTimeSenderNeverWaitsForAnotherSendOnThePort) {
    OutputSlot slot;
    auto output = std::make_unique<HoldingOutput>();
    HoldingOutput& port = *output;
    slot.Attach(std::move(output), 1);
    std::thread holder([&] { slot.Send(1); });
    while (!port.entered) std::this_thread::yield();
    std::thread waiter([&] {
        MakeRealTime();
        slot.Send(2);
    });
    waiter.join();
    EXPECT_TRUE(port.passedWhileHeld);
    port.letGo = true;
    holder.join();
}

}  // namespace
}  // namespace cadenzo
