#include <gtest/gtest.h>

#include "engine/messages.h"
#include "engine/sounding_notes.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;

constexpr int C4 = 60, E4 = 64, G4 = 67, C6 = 84;

class MonoModes : public ::testing::Test {
protected:
    ChannelRecord& Mono(uint8_t md) {
        ChannelRecord& layer = Listen(rig.s.Bank.WorkingMix.Channels[0], 17);
        layer.In2Channel = 17;
        layer.MD = md;
        return layer;
    }
    GlideSet Glide() const { return rig.s.Performance.Channels[0].Glide.load(); }
    Messages Take() {
        Messages sent = rig.Synth();
        rig.ClearSent();
        return sent;
    }
    EngineRig rig;
};

TEST_F(MonoModes, MonoRetriggersAndFallsBackToTheHeldKey) {
    Mono(1);
    rig.Play(1, On(0, C4, 80));
    rig.Play(1, On(0, E4, 90));
    EXPECT_EQ(Take(), (Messages{On(0, C4, 80), Off(0, C4), On(0, E4, 90)}));
    rig.Play(1, Off(0, E4));
    EXPECT_EQ(Take(), (Messages{Off(0, E4), On(0, C4, 90)}));  // with the velocity of E4
    rig.Play(1, Off(0, C4));
    EXPECT_EQ(Take(), Messages{Off(0, C4)});
}

TEST_F(MonoModes, MonoReleaseOfAnOlderKeyIsSilentAndLeavesTheStack) {
    Mono(1);
    rig.Play(1, On(0, C4, 80));
    rig.Play(1, On(0, E4, 80));
    rig.Play(1, On(0, G4, 80));
    rig.ClearSent();
    rig.Play(1, Off(0, C4));
    EXPECT_EQ(Take(), Messages{});
    rig.Play(1, Off(0, G4));
    EXPECT_EQ(Take(), (Messages{Off(0, G4), On(0, E4, 80)}));
    rig.Play(1, Off(0, E4));
    EXPECT_EQ(Take(), Messages{Off(0, E4)});
}

TEST_F(MonoModes, MonoWithScaleRetunesBeforeEveryNewNote) {
    Mono(1).Scl = 1;
    rig.s.Bank.WorkingMix.KeyboardScale[4] = 72;
    rig.Play(1, On(0, C4, 80));
    rig.Play(1, On(0, E4, 80));
    rig.Play(1, Off(0, E4));
    EXPECT_EQ(Take(), (Messages{Bend(0, 8192), On(0, C4, 80), Off(0, C4), Bend(0, 8256), On(0, E4, 80),
                                Off(0, E4), Bend(0, 8192), On(0, C4, 80)}));
}

TEST_F(MonoModes, LegatoJumpsByBendAndLimitsTheIntervalTo14Semitones) {
    Mono(2);
    rig.Play(1, On(0, C4, 80));
    EXPECT_EQ(Take(), (Messages{Bend(0, 8192), On(0, C4, 80)}));
    rig.Play(1, On(0, G4, 80));
    EXPECT_EQ(Take(), Messages{Bend(0, 8192 + 7 * 512)});
    rig.Play(1, On(0, C6, 80));
    EXPECT_EQ(Take(), Messages{Bend(0, 8192 + 14 * 512)});
    rig.Play(1, Off(0, C6));
    EXPECT_EQ(Take(), Messages{Bend(0, 8192 + 7 * 512)});
    rig.Play(1, Off(0, G4));
    EXPECT_EQ(Take(), Messages{Bend(0, 8192)});
    rig.Play(1, Off(0, C4));
    EXPECT_EQ(Take(), Messages{Off(0, C4)});
}

TEST_F(MonoModes, PortamentoSetsAStepOfTheDistanceOverPortaSpeed) {
    Mono(3);
    rig.s.Bank.WorkingMix.PortaSpeed = 35;
    rig.Play(1, On(0, C4, 80));
    rig.Play(1, On(0, E4, 80));
    EXPECT_EQ(Take(), (Messages{Bend(0, 8192), On(0, C4, 80)}));  // the tick slides
    EXPECT_EQ(Glide(), (GlideSet{8192, 10240, 2048 / 35, 1}));
    rig.Play(1, Off(0, E4));  // back to C4; no tick ran, so nothing is left to slide
    EXPECT_EQ(Glide(), (GlideSet{8192, 8192, 0, 1}));
    rig.Play(1, Off(0, C4));
    EXPECT_EQ(Take(), Messages{Off(0, C4)});
}

TEST_F(MonoModes, EveryPortamentoEndsEvenWhenTheDistanceIsBelowPortaSpeed) {
    Mono(3);
    rig.s.Bank.WorkingMix.PortaSpeed = 250;
    rig.Play(1, On(0, C4, 80));
    rig.s.Performance.Channels[0].Glide.store(GlideSet{8292, 8192, 0, 0});  // as a tick left it
    rig.Play(1, On(0, C4, 80));  // back to the base key: 100 units down
    EXPECT_EQ(Glide(), (GlideSet{8292, 8192, 1, 0}));
    rig.s.Bank.WorkingMix.PortaSpeed = 0;  // out of range in a file: the slide takes one tick
    rig.Play(1, On(0, E4, 80));
    EXPECT_EQ(Glide(), (GlideSet{8292, 10240, 10240 - 8292, 1}));
}

TEST_F(MonoModes, ANoteOffRefusedByTheVelocityZoneCountsDownAndSilencesTheLastKey) {
    Mono(1).VL = 50;
    rig.Play(1, On(0, C4, 80));
    rig.Play(1, On(0, E4, 20));  // refused
    rig.Play(1, Off(0, E4));
    EXPECT_EQ(Take(), (Messages{On(0, C4, 80), Off(0, C4)}));
}

// A key the stack does not hold takes the oldest entry with it, never the
// sounding one, so the sounding note is always the one the last release ends.
TEST_F(MonoModes, ReleasingAKeyTheStackDoesNotHoldLeavesNoNoteHanging) {
    Mono(1).VL = 50;
    rig.Play(1, On(0, C4, 80));
    rig.Play(1, On(0, E4, 20));  // refused
    rig.Play(1, On(0, G4, 80));
    rig.Play(1, Off(0, E4));
    rig.Play(1, Off(0, G4));
    rig.Play(1, Off(0, C4));
    SoundingNotes notes;
    notes.Apply(rig.Synth());
    EXPECT_EQ(notes.Held(), std::vector<std::string>{});
}

TEST_F(MonoModes, MoreKeysThanTheStackHoldsLeaveNoNoteHanging) {
    for (uint8_t md = 1; md <= 3; ++md) {
        rig.ClearSent();
        Mono(md);
        for (int k = 0; k < 70; ++k) rig.Play(1 + k % 2, On(k / 64, k, 80));
        for (int k = 0; k < 70; ++k) rig.Play(1 + k % 2, Off(k / 64, k));
        SoundingNotes notes;
        notes.Apply(rig.Synth());
        EXPECT_EQ(notes.Held(), std::vector<std::string>{}) << "MD " << int(md);
        EXPECT_EQ(rig.s.Performance.Channels[0].HeldNoteCount, 0);
    }
}

}  // namespace
}  // namespace cadenzo
