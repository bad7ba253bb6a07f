// Where in time the running program's messages leave, on a real JACK server:
// a loop from a test client's keyboard through the program back into the
// same client's synthesiser input takes exactly one period, whatever the
// period (the test runs at 64 and at 1024 frames).
#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "e2e/jack_test_client.h"
#include "e2e/program_run.h"

namespace cadenzo {
namespace {

using namespace std::chrono_literals;

uint32_t On(uint32_t note) { return 0x90 | note << 8 | 100u << 16; }
uint32_t Off(uint32_t note) { return 0x80 | note << 8; }

// The timed messages among `heard` whose status (channel included) is `status`.
std::vector<test::JackTestClient::Timed> OfStatus(const std::vector<test::JackTestClient::Timed>& heard,
                                                  uint8_t status) {
    std::vector<test::JackTestClient::Timed> found;
    for (const auto& t : heard)
        if ((t.message & 0xFF) == status) found.push_back(t);
    return found;
}

class Timing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(peer.Ok()) << "no JACK server (run under with_jack.sh)"; }

    // Starts the program with In1 on the keys and SynthOut on the synth,
    // with `edit` made to the bank; waits for the start-up transmission.
    void Start(const std::function<void(MixBank&)>& edit) {
        program.WriteOptions({.In1 = peer.SourceName(0), .SynthOut = peer.SinkName(0)});
        program.WriteBank(edit);
        program.Start();
        ASSERT_TRUE(peer.WaitSourceConnected(0, 15s)) << program.Errors();
        ASSERT_TRUE(peer.WaitSinkConnected(0, 15s));
        std::this_thread::sleep_for(1500ms);  // the window settles
        mark = peer.ReceiveTimed(0, 0, 0ms).size();
    }
    // What the synth heard since the start-up.
    std::vector<test::JackTestClient::Timed> Heard(size_t count, std::chrono::milliseconds timeout = 5s) {
        const auto heard = peer.ReceiveTimed(0, mark + count, timeout);
        return {heard.begin() + static_cast<long>(std::min(mark, heard.size())), heard.end()};
    }

    // Layer 1 slides (mono portamento) on In1's channel 1, four semitones
    // in 36 ticks; layer 2 plays channel 2.
    void StartSlide() {
        Start([](MixBank& bank) {
            bank.Slots[0].Channels[0].In1Channel = 1;
            bank.Slots[0].Channels[0].MD = 3;
            bank.Slots[0].Channels[1].In1Channel = 2;
            bank.Slots[0].PortaSpeed = 35;
        });
    }
    void Slide() {
        peer.Send(0, On(60));
        std::this_thread::sleep_for(100ms);
        peer.Send(0, On(64));
    }
    // The bends heard since the start-up, once the slide's last step, four
    // semitones up, is among them (a loaded machine may hold the server
    // up for a while), or after five seconds.
    std::vector<test::JackTestClient::Timed> BendsToTheSlidesEnd() {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        for (;;) {
            auto bends = OfStatus(Heard(0, 0ms), 0xE0);
            if ((!bends.empty() && bends.back().message == kSlideEnd) || std::chrono::steady_clock::now() > deadline)
                return bends;
            std::this_thread::sleep_for(10ms);
        }
    }
    // The slide's 36 bends of layer 1: they come last (the first key may
    // centre the wheel).
    std::vector<test::JackTestClient::Timed> SlideSteps() {
        auto bends = BendsToTheSlidesEnd();
        if (bends.size() < 36 || bends.back().message != kSlideEnd) return {};
        bends.erase(bends.begin(), bends.end() - 36);
        return bends;
    }
    // How many steps follow the one before them by 0.5 to 1.5 ms, among
    // those that follow it by one step's value (a cycle the server dropped
    // leaves a wider step).
    struct Spacing {
        size_t apart = 0;
        size_t judged = 0;
    };
    static Spacing StepsAMillisecondApart(const std::vector<test::JackTestClient::Timed>& steps) {
        const auto value = [](uint32_t m) { return (m >> 8 & 0x7F) | (m >> 16 & 0x7F) << 7; };
        Spacing spacing;
        for (size_t i = 1; i < steps.size(); ++i) {
            if (value(steps[i].message) - value(steps[i - 1].message) > kUnitsPerStep) continue;
            const uint32_t gap = steps[i].frame - steps[i - 1].frame;
            ++spacing.judged;
            if (gap >= kFramesPerTick / 2 && gap <= kFramesPerTick * 3 / 2) ++spacing.apart;
        }
        return spacing;
    }

    static constexpr uint32_t kSlideEnd = 0x5000E0;     // the bend four semitones up
    static constexpr uint32_t kFramesPerTick = 48;  // 1 ms at 48 kHz
    static constexpr uint32_t kUnitsPerStep = 58;   // 2048 units in 36 steps, rounded up

    test::JackTestClient peer{"timing", {"keys"}, {"synth"}};
    test::ProgramRun program;
    size_t mark = 0;
};

TEST_F(Timing, NotesLeaveAtTheirOwnFrameExactlyOnePeriodLater) {
    Start([](MixBank& bank) { bank.Slots[0].Channels[0].In1Channel = 17; });
    std::mt19937 random(20261208);
    std::vector<uint32_t> played;
    for (uint32_t note = 40; note < 72; ++note) {
        for (const uint32_t m : {On(note), Off(note)}) {
            peer.SendAt(0, m, random() % peer.Period());
            played.push_back(m);
        }
    }
    const auto heard = Heard(played.size() + 16, 3s);
    std::vector<test::JackTestClient::Timed> notes;
    for (const auto& t : heard)
        if ((t.message & 0xE0) == 0x80) notes.push_back(t);
    const std::vector<uint32_t> sent = peer.SentFrames(0);
    ASSERT_EQ(notes.size(), played.size());
    ASSERT_EQ(sent.size(), played.size());
    // A note that meets the engine busy waits for the engine thread and
    // leaves in the next cycle: rare, and still in order.
    size_t deferred = 0;
    for (size_t i = 0; i < played.size(); ++i) {
        EXPECT_EQ(notes[i].message, played[i]) << i;
        const uint32_t latency = notes[i].frame - sent[i];
        if (latency == peer.Period()) continue;
        ++deferred;
        EXPECT_LE(latency, 3 * peer.Period()) << "note message " << i;
    }
    EXPECT_LE(deferred, 2u) << "of " << played.size() << " note messages, not exactly one period later";
}

TEST_F(Timing, PortamentoStepsLeaveAMillisecondApart) {
    StartSlide();
    const int xruns = peer.Xruns();
    Slide();
    const auto bends = SlideSteps();
    ASSERT_EQ(bends.size(), 36u);
    if (peer.Xruns() != xruns) GTEST_SKIP() << "the server lost cycles during the slide: no time to measure by";
    // Each step at its own millisecond, whatever the period: the place of a
    // cycle on the clock is an estimate, good to a few frames on a loaded
    // machine, and a step written at the start of its cycle would be off by
    // up to the whole period of 1,024 frames.
    constexpr int kClockJitter = 12;    // a quarter of a millisecond
    for (size_t i = 1; i < bends.size(); ++i)
        EXPECT_NEAR(static_cast<int>(bends[i].frame - bends[i - 1].frame), static_cast<int>(kFramesPerTick), kClockJitter)
            << "step " << i;
}

// What else is played during a slide is written at its own frame in the
// same cycles: the steps keep their millisecond all the same.
TEST_F(Timing, PortamentoStepsKeepTheirTimesWhileTheWheelMovesAndAnotherKeyPlays) {
    StartSlide();
    const int xruns = peer.Xruns();
    Slide();
    for (uint32_t k = 0; k < 16; ++k) {
        peer.Send(0, 0xB0 | 1u << 8 | (k * 8) << 16);  // the mod wheel of the sliding layer
        if (k == 6) peer.Send(0, 0x91 | 70u << 8 | 100u << 16);  // a key of the other layer
        std::this_thread::sleep_for(2ms);
    }
    const auto bends = SlideSteps();
    // Cycles the server lost took steps with them.
    if (peer.Xruns() != xruns) GTEST_SKIP() << "the server lost cycles during the slide: no time to measure by";
    ASSERT_EQ(bends.size(), 36u);
    const Spacing spacing = StepsAMillisecondApart(bends);
    EXPECT_EQ(spacing.judged, 35u);
    EXPECT_GE(spacing.apart, 32u);
}

// The server changes its period in the middle of a slide (PipeWire's may do
// so at any time): the steps keep their millisecond through the change.
TEST_F(Timing, PortamentoStepsKeepTheirTimesThroughAPeriodChange) {
    StartSlide();
    const uint32_t period = peer.Period();
    // The server drops the cycle it changes in (up to 21 steps at 1,024
    // frames), and with it whatever the keyboard sent there, at times the
    // slide's key: then the slide is played once more. The steps on either
    // side of the change are judged.
    std::vector<test::JackTestClient::Timed> bends;
    bool lostCycles = false;
    for (int tries = 0; tries < 2; ++tries) {
        const int xruns = peer.Xruns();
        Slide();
        std::this_thread::sleep_for(10ms);
        if (!peer.SetPeriod(256)) GTEST_SKIP() << "the server keeps its period";
        bends = BendsToTheSlidesEnd();
        lostCycles = peer.Xruns() != xruns;
        ASSERT_TRUE(peer.SetPeriod(period));
        if (!bends.empty() && bends.back().message == kSlideEnd) break;
        peer.Send(0, Off(64));
        peer.Send(0, Off(60));
        std::this_thread::sleep_for(300ms);
        mark = peer.ReceiveTimed(0, 0, 0ms).size();
    }
    if (lostCycles) GTEST_SKIP() << "the server lost cycles during the slide: no time to measure by";
    ASSERT_FALSE(bends.empty());
    EXPECT_EQ(bends.back().message, kSlideEnd);
    const Spacing spacing = StepsAMillisecondApart(bends);
    EXPECT_GE(spacing.judged, 12u);
    EXPECT_GE(spacing.apart, spacing.judged * 9 / 10);
}

TEST_F(Timing, SixteenProgramChangesInOnePeriodSendSixteenMixesWhole) {
    const auto volume = [](uint32_t slot, uint32_t layer) { return (slot * 7 + layer) % 128; };
    Start([&](MixBank& bank) {
        for (uint32_t p = 0; p <= 16; ++p) {
            for (uint32_t c = 0; c < 16; ++c) {
                bank.Slots[p].Channels[c].In1Channel = 17;
                bank.Slots[p].Channels[c].Vol = static_cast<uint8_t>(volume(p, c));
            }
        }
    });
    // Whether the burst overran a cycle is a matter of speed, which
    // bench/mix_bench.cpp measures (a transmission's cost).
    std::vector<uint32_t> changes;
    for (uint32_t p = 1; p <= 16; ++p) changes.push_back(0xC0 | p << 8);
    peer.SendAll(0, changes);
    // Each mix sends at least a program and a volume per layer.
    Heard(16 * 16 * 2, 5s);
    std::this_thread::sleep_for(300ms);
    for (uint32_t c = 0; c < 16; ++c) {
        std::vector<uint32_t> volumes;
        for (const auto& t : OfStatus(Heard(0, 0ms), static_cast<uint8_t>(0xB0 | c)))
            if (((t.message >> 8) & 0x7F) == 7) volumes.push_back(t.message >> 16);
        std::vector<uint32_t> expected;
        for (uint32_t p = 1; p <= 16; ++p) expected.push_back(volume(p, c));
        EXPECT_EQ(volumes, expected) << "layer " << c + 1;
    }
    EXPECT_TRUE(program.StopsCleanly()) << program.Errors();
}

}  // namespace
}  // namespace cadenzo
