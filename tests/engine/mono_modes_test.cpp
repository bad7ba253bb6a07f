#include <gtest/gtest.h>

#include "engine/messages.h"
#include "engine/sounding_notes.h"
#include "support/engine_rig.h"
#include "support/key_window.h"
#include "ui/key_map.h"
#include "ui/virtual_keys.h"

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

// A mono layer whose notes are cut by a new zone, input or a reset forgets
// the keys it held: a key released outside the new zone is never struck again.
TEST_F(MonoModes, KeysHeldAcrossAZoneChangeOrAResetAreNeverStruckAgain) {
    constexpr int D4 = 62;
    const auto programChange = [](int p) { return PackShortMessage(0xC0, 0, static_cast<uint32_t>(p), 0); };
    for (uint8_t md = 1; md <= 3; ++md) {
        EngineRig fresh;
        ChannelRecord& layer = Listen(fresh.s.Bank.Bank.Slots[0].Channels[0], 17);
        layer.MD = md;
        fresh.s.Bank.Bank.Slots[1].Channels[0] = layer;
        fresh.s.Bank.Bank.Slots[1].Channels[0].KL = 61;  // C4 is below the new zone
        fresh.Play(1, programChange(0));
        fresh.Play(1, On(0, C4, 80));
        fresh.Play(1, programChange(1));
        fresh.Play(1, Off(0, C4));
        fresh.Play(1, On(0, D4, 80));
        fresh.Play(1, Off(0, D4));
        SoundingNotes notes;
        notes.Apply(fresh.Synth());
        EXPECT_EQ(notes.Held(), std::vector<std::string>{}) << "zone change, MD " << int(md);

        // F4 resets every channel and enters GM mode with a key held; the
        // key is released in GM mode, where the layer does not hear it.
        fresh.Play(1, programChange(0));
        fresh.ClearSent();
        CountingKeyWindow window;
        fresh.Play(1, On(0, C4, 80));
        KeyDown(fresh.s, window, vk::F4);
        fresh.Play(1, Off(0, C4));
        KeyDown(fresh.s, window, vk::F4);
        fresh.ClearSent();
        fresh.Play(1, On(0, D4, 80));
        fresh.Play(1, Off(0, D4));
        SoundingNotes afterReset;
        afterReset.Apply(fresh.Synth());
        EXPECT_EQ(afterReset.Held(), std::vector<std::string>{}) << "reset, MD " << int(md);
    }
}

}  // namespace
}  // namespace cadenzo
