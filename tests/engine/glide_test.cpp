// The glide tick, driven tick by tick on the test's thread.
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "engine/glide.h"
#include "engine/messages.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;

// The bend value each tick sent on channel c (none when the tick sent
// nothing there); fails when a tick sends more than one.
std::vector<std::optional<int>> TickBends(EngineRig& rig, int ticks, int c = 0) {
    std::vector<std::optional<int>> bends;
    for (int k = 0; k < ticks; ++k) {
        rig.ClearSent();
        GlideTick(&rig.s);
        std::optional<int> bend;
        for (ShortMessage m : rig.Synth()) {
            const UnpackedMessage u = UnpackShortMessage(m);
            if (u.command != 0xE0 || u.channel != c) continue;
            EXPECT_FALSE(bend) << "two bends in tick " << k + 1;
            bend = u.data1 + u.data2 * 128;
        }
        bends.push_back(bend);
    }
    return bends;
}

// Ticks until the channel's bend stops changing; returns how many sent one.
int TicksOfSlide(EngineRig& rig, int c = 0) {
    int sent = 0;
    for (const auto& b : TickBends(rig, 400, c)) sent += b ? 1 : 0;
    return sent;
}

class Glide : public ::testing::Test {
protected:
    // A portamento layer on channel 0 taking every channel of In1.
    void Portamento(uint8_t speed) {
        Listen(rig.s.Bank.WorkingMix.Channels[0], 17).MD = 3;
        rig.s.Bank.WorkingMix.PortaSpeed = speed;
    }
    void SetGlide(int current, int target, int step, bool up) {
        rig.s.Performance.Channels[0].Glide.store(GlideSet{static_cast<int16_t>(current), static_cast<int16_t>(target),
                                                           static_cast<uint16_t>(step), static_cast<uint8_t>(up)});
    }
    EngineRig rig;
};

TEST_F(Glide, APortamentoOfFourSemitonesAtThirtyFive) {
    Portamento(35);
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, On(0, 64, 100));
    const auto bends = TickBends(rig, 40);
    for (int k = 1; k <= 35; ++k) EXPECT_EQ(bends[k - 1], 8192 + 58 * k) << "tick " << k;
    EXPECT_EQ(bends[35], 10240);
    for (int k = 36; k < 40; ++k) EXPECT_FALSE(bends[k]) << "tick " << k + 1;
}

TEST_F(Glide, ASlideTakesItsDistanceOverTheStepRoundedUp) {
    Portamento(32);
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, On(0, 64, 100));
    EXPECT_EQ(TicksOfSlide(rig), 32);  // 2048 = 32 x 64

    rig.s.Bank.WorkingMix.PortaSpeed = 35;
    rig.Play(1, Off(0, 64));  // back to the first key, 2048 down at 58 a tick
    EXPECT_EQ(TicksOfSlide(rig), 36);

    SetGlide(8192, 8292, 100 / 35, true);
    EXPECT_EQ(TicksOfSlide(rig), 50);

    rig.s.Bank.WorkingMix.PortaSpeed = 1;
    rig.Play(1, On(0, 67, 100));
    EXPECT_EQ(TickBends(rig, 2), (std::vector<std::optional<int>>{8192 + 7 * 512, std::nullopt}));
}

TEST_F(Glide, DownwardSlidesAndZeroStepsStopExactlyAtTheTarget) {
    SetGlide(10000, 9000, 300, false);
    EXPECT_EQ(TickBends(rig, 5), (std::vector<std::optional<int>>{9700, 9400, 9100, 9000, std::nullopt}));

    SetGlide(8192, 8195, 0, true);
    EXPECT_EQ(TickBends(rig, 4), (std::vector<std::optional<int>>{8193, 8194, 8195, std::nullopt}));
}

TEST_F(Glide, WheelChangesAreSentOnceByTheNextTickTogetherWithTheSlide) {
    Listen(rig.s.Bank.WorkingMix.Channels[1], 17);
    EXPECT_EQ(TickBends(rig, 1, 1), std::vector<std::optional<int>>{std::nullopt});

    rig.Play(1, Bend(0, 0));
    rig.Play(1, Bend(0, 16383));  // only the last of one period is sent
    EXPECT_EQ(rig.Synth(), Messages{});
    EXPECT_EQ(TickBends(rig, 2, 1), (std::vector<std::optional<int>>{8192 + 2047 - 1024, std::nullopt}));

    Portamento(35);
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, On(0, 64, 100));
    TickBends(rig, 3);
    rig.Play(1, Bend(0, 16383));
    EXPECT_EQ(TickBends(rig, 1), std::vector<std::optional<int>>{8192 + 4 * 58 + 2047 - 1024});
}

// The last channel gets its slide and its wheel like the first.
TEST_F(Glide, ThePortamentoAndTheWheelOnChannelSixteen) {
    Listen(rig.s.Bank.WorkingMix.Channels[15], 17).MD = 3;
    rig.s.Bank.WorkingMix.PortaSpeed = 35;
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, On(0, 64, 100));
    const auto bends = TickBends(rig, 2, 15);
    EXPECT_EQ(bends, (std::vector<std::optional<int>>{8192 + 58, 8192 + 2 * 58}));
    rig.Play(1, Bend(0, 0));
    EXPECT_EQ(TickBends(rig, 1, 15), std::vector<std::optional<int>>{8192 + 3 * 58 - 1024});
}

}  // namespace
}  // namespace cadenzo
