// One JACK process cycle without a server: the inputs' events played in
// frame order through their callbacks, what they cause written at their own
// frame, and what other threads sent placed at its own time one period on.
#include <random>

#include <gtest/gtest.h>

#include "midi/jack/cycle_clock.h"
#include "midi/jack/jack_ports.h"
#include "midi/jack/process_cycle.h"
#include "support/fake_cycle_buffer.h"

namespace cadenzo {
namespace {

using test::FakeCycleBuffer;
using Written = FakeCycleBuffer::Written;

// 64 frames a cycle, 1000 microseconds a cycle.
constexpr CycleTimes kCycle{64, 2000, 1000};
constexpr CycleTimes kNextCycle{64, 3000, 2000};

class Cycle : public ::testing::Test {
protected:
    Cycle() {
        for (size_t i = 0; i < kJackInputCount; ++i) bindings.Bind(i, &Echo, this);
        for (size_t i = 0; i < kJackInputCount; ++i) bindings.Start(i);
    }
    // Every input's messages go straight to SynthOut.
    static void Echo(void* self, uint16_t, ShortMessage m) { static_cast<Cycle*>(self)->synth.Send(m); }

    void Run(const CycleTimes& times) {
        RunCycle({&in[0], &in[1], &in[2]}, {&out[0], &out[1], &out[2]}, bindings, queues, times);
    }
    // A message another thread sends at `micros`, as the glide tick does.
    void SendAt(uint64_t micros, ShortMessage m) {
        const SendPlacementScope at(micros);
        synth.Send(m);
    }

    std::array<FakeCycleBuffer, 3> in;
    std::array<FakeCycleBuffer, 3> out;
    InputBindings bindings;
    std::array<OutputQueue, kJackOutputCount> queues;
    JackOutput synth{0, queues[0]};
};

TEST_F(Cycle, InputsPlayInFrameOrderAndWhatTheyCauseLeavesAtTheirFrame) {
    in[0].Add(5, {0x90, 60, 100});
    in[0].Add(30, {0x80, 60, 0});
    in[1].Add(10, {0x91, 62, 90});
    in[2].Add(30, {0xB2, 7, 99});  // the same frame as In1's: after it
    in[2].Add(40, {0xF0, 1, 2, 0xF7, 0x93, 64, 80, 0x05, 0xFF});  // SysEx and a stray byte pass by
    Run(kCycle);
    EXPECT_EQ(out[0].WrittenEvents(), (std::vector<Written>{{5, 0x643C90},
                                                            {10, 0x5A3E91},
                                                            {30, 0x003C80},
                                                            {30, 0x6307B2},
                                                            {40, 0x504093},
                                                            {40, 0xFF}}));
    EXPECT_TRUE(out[1].WrittenEvents().empty());
}

// A callback that plays its entry at once gives it its moment again, as
// the input queue's reader does: the message still goes out at the event's
// frame, and after the cycle a send is placed by its time again.
TEST_F(Cycle, AMomentGivenWhileAnEventPlaysKeepsItsFrame) {
    bindings.Bind(0, [](void* output, uint16_t, ShortMessage m) {
        const SendPlacementScope entry(SendPlacementScope::Current().micros);
        static_cast<JackOutput*>(output)->Send(m);
    }, &synth);
    bindings.Start(0);
    in[0].Add(20, {0x90, 60, 100});
    Run(kCycle);
    EXPECT_EQ(out[0].WrittenEvents(), (std::vector<Written>{{20, 0x643C90}}));
    EXPECT_FALSE(SendPlacementScope::Current().cycleFrame);
}

TEST_F(Cycle, OtherThreadsMessagesLeaveAPeriodLaterAtTheirOwnPlace) {
    SendAt(1000, 0x0100E0);  // the previous cycle's start: frame 0
    SendAt(1500, 0x0200E0);  // half-way: frame 32
    Run(kCycle);
    EXPECT_EQ(out[0].WrittenEvents(), (std::vector<Written>{{0, 0x0100E0}, {32, 0x0200E0}}));

    // Sent during this cycle (its start is 2000): written in the next one.
    SendAt(2250, 0x0300E0);
    out[0].Clear();
    Run(kCycle);
    EXPECT_TRUE(out[0].WrittenEvents().empty());
    Run(kNextCycle);
    EXPECT_EQ(out[0].WrittenEvents(), (std::vector<Written>{{16, 0x0300E0}}));
}

// The engine thread may have played a note-on that arrived before a note-off
// the process callback plays now: whatever was sent before a direct write
// goes out no later than it, even a message whose place is later.
TEST_F(Cycle, ADirectWriteNeverOvertakesAMessageSentBeforeIt) {
    SendAt(1000, 0x0100E0);
    SendAt(1500, 0x643C90);  // its place: frame 32
    SendAt(2100, 0x643E90);  // its place: in the next cycle
    in[0].Add(10, {0x80, 60, 0});
    in[0].Add(12, {0x80, 62, 0});
    Run(kCycle);
    EXPECT_EQ(out[0].WrittenEvents(),
              (std::vector<Written>{{0, 0x0100E0}, {10, 0x643C90}, {10, 0x643E90}, {10, 0x003C80}, {12, 0x003E80}}));
}

// An event whose callback finds the engine busy is played on another thread
// after the cycle, with the moment the callback saw: what it causes goes
// out at the event's own frame one period later, in order, even when the
// other thread plays it early in that period.
TEST_F(Cycle, WhatALateEventCausesElsewhereLeavesAtItsFrameOnePeriodOn) {
    std::vector<std::pair<ShortMessage, uint64_t>> deferred;
    bindings.Bind(0, [](void* self, uint16_t, ShortMessage m) {
        static_cast<decltype(deferred)*>(self)->emplace_back(m, SendPlacementScope::Current().micros);
    }, &deferred);
    bindings.Start(0);
    for (const uint32_t frame : {0u, 17u, 63u}) in[0].Add(frame, {0x90, static_cast<uint8_t>(frame), 100});
    Run(kCycle);
    EXPECT_TRUE(out[0].WrittenEvents().empty());
    for (const auto& [m, micros] : deferred) {
        SendAt(micros, m);
        SendAt(micros, m + 0x10000);  // a second layer's note
    }
    in[0].Clear();
    Run(kNextCycle);
    EXPECT_EQ(out[0].WrittenEvents(), (std::vector<Written>{{0, 0x640090},
                                                            {0, 0x650090},
                                                            {17, 0x641190},
                                                            {17, 0x651190},
                                                            {63, 0x643F90},
                                                            {63, 0x653F90}}));
}

TEST_F(Cycle, AFullBufferCarriesTheRestToTheNextCycleInOrder) {
    out[0] = FakeCycleBuffer(2);
    SendAt(1000, 0x0100E0);
    for (uint8_t note = 60; note < 64; ++note) in[0].Add(note - 59, {0x90, note, 100});
    Run(kCycle);
    EXPECT_EQ(out[0].WrittenEvents(), (std::vector<Written>{{0, 0x0100E0}, {1, 0x643C90}}));
    in[0].Clear();
    out[0] = FakeCycleBuffer();
    Run(kNextCycle);
    EXPECT_EQ(out[0].WrittenEvents(), (std::vector<Written>{{0, 0x643D90}, {0, 0x643E90}, {0, 0x643F90}}));
    EXPECT_EQ(queues[0].Lost(), 0u);
}

TEST_F(Cycle, AFullRingIsCountedNotWaitedOn) {
    for (int i = 0; i < 5000; ++i) SendAt(1000, 0x0100E0);
    EXPECT_EQ(queues[0].Lost(), 5000u - 4096u);
}

// A note-off the full ring refuses is owed, not lost: it leaves once what
// was sent before it has gone, and only the bends past the ring are lost.
TEST_F(Cycle, AFullRingOwesTheReleaseOfANoteItTook) {
    SendAt(1000, 0x643C90);
    for (int i = 0; i < 5000; ++i) SendAt(1000, 0x0100E0);
    SendAt(1000, 0x003C80);
    EXPECT_EQ(queues[0].Lost(), 5000u - 4095u);
    std::vector<uint32_t> heard;
    for (uint64_t k = 0; k < 100; ++k) {
        out[0].Clear();
        Run({64, 2000 + 1000 * k, 1000 + 1000 * k});
        for (const Written& w : out[0].WrittenEvents()) heard.push_back(w.message);
    }
    ASSERT_EQ(heard.size(), 4097u);
    EXPECT_EQ(heard.front(), 0x643C90u);
    EXPECT_EQ(heard.back(), 0x003C80u);
}

// The callback wakes a little after each cycle starts, by a varying amount:
// the cycle starts it reckons stay within that much of the true ones, and a
// millisecond keeps its 48 frames.
TEST(CycleClockTest, FollowsTheEarliestWakesThroughTheirJitter) {
    CycleClock clock;
    std::mt19937 random(64);
    constexpr double kMicrosPerCycle = 64 * 1e6 / 48000;
    CycleTimes times{};
    for (int k = 1; k < 2000; ++k) {
        const auto trueStart = static_cast<uint64_t>(1e6 + k * kMicrosPerCycle);
        times = clock.Next(64, 48000, trueStart + random() % 300);
        if (k < 200) continue;
        EXPECT_GE(times.startMicros + 5, trueStart) << k;
        EXPECT_LE(times.startMicros, trueStart + 300) << k;
        EXPECT_NEAR(static_cast<double>(times.startMicros - times.previousStartMicros), kMicrosPerCycle, 40) << k;
    }
}

}  // namespace
}  // namespace cadenzo
