// The drum input, the GM pass-through and the delayed drum note-offs.
#include <gtest/gtest.h>

#include "engine/gm_drum_paths.h"
#include "engine/messages.h"
#include "support/engine_rig.h"
#include "support/temp_dir.h"

namespace cadenzo {
namespace {

using namespace test;

class DrumPaths : public ::testing::Test {
protected:
    DrumPaths() {
        OptionsRecord& o = rig.s.Options;
        o.UseDrumMode = 1;
        o.DrumInPort = 1;  // In2
        o.DrumInChannel = 9;
        o.DrumOutChannel = 9;
    }
    EngineRig rig;
};

TEST_F(DrumPaths, APadHitEndsOneToTwoTimerIntervalsLaterOnTheDrumChannel) {
    rig.s.Options.DrumAutoNoteOff = 1;
    rig.s.Options.DrumOutChannel = 5;
    rig.Play(2, On(9, 36, 100));
    rig.Play(2, Off(9, 36, 64));
    rig.Play(2, On(9, 38, 0));  // a note-on with velocity 0 ends a note too
    EXPECT_EQ(rig.Synth(), Messages{On(5, 36, 100)});

    rig.ClearSent();
    DrumOffTimerTimer(rig.s);  // first tick: the note-offs become due
    EXPECT_EQ(rig.Synth(), Messages{});
    DrumOffTimerTimer(rig.s);
    EXPECT_EQ(rig.Synth(), (Messages{Off(5, 36), Off(5, 38)}));
    rig.ClearSent();
    DrumOffTimerTimer(rig.s);
    EXPECT_EQ(rig.Synth(), Messages{});
}

TEST_F(DrumPaths, WithoutAutoNoteOffEverythingMovesToTheDrumChannelAtOnce) {
    rig.Play(2, On(9, 36, 100));
    rig.Play(2, On(9, 36, 0));
    rig.Play(2, Cc(9, 7, 99));  // blocked by the controller filter elsewhere, not here
    rig.Play(2, PackShortMessage(0xC0, 9, 3, 0));
    EXPECT_EQ(rig.Synth(), (Messages{On(9, 36, 100), On(9, 36, 0), Cc(9, 7, 99), PackShortMessage(0xC0, 9, 3, 0)}));
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 0u);  // the program change selected no mix
}

TEST_F(DrumPaths, EffectSendControllersGoToTheControlPortAndAreKept) {
    rig.Play(2, Cc(9, 91, 40));
    rig.Play(2, Cc(9, 92, 41));
    rig.Play(2, Cc(9, 93, 42));
    EXPECT_EQ(rig.Control(), (Messages{Cc(9, 91, 40), Cc(9, 92, 41), Cc(9, 93, 42)}));
    EXPECT_EQ(rig.Synth(), Messages{});
    const OptionsRecord& o = rig.s.Options;
    EXPECT_EQ((std::array{o.DrumReverb, o.DrumDelay, o.DrumChorus}), (std::array<uint8_t, 3>{40, 41, 42}));
}

TEST_F(DrumPaths, AFullRingRefusesTheNewNoteAndKeepsThePendingOnes) {
    DrumNoteRing ring;
    for (int k = 0; k < 1023; ++k) EXPECT_TRUE(ring.Push({9, static_cast<uint8_t>(k % 128)}));
    EXPECT_FALSE(ring.Push({9, 127}));
    DrumNoteOff off{};
    for (int k = 0; k < 1023; ++k) {
        ASSERT_TRUE(ring.Pop(off));
        EXPECT_EQ(off, (DrumNoteOff{9, static_cast<uint8_t>(k % 128)}));
    }
    EXPECT_TRUE(ring.Empty());
}

// The drum output channel as an options file written elsewhere may hold it:
// 0..15 are channels 1..16, anything above is no channel.
class DrumOutput : public InTempDir {};

TEST_F(DrumOutput, AChannelFromTheOptionsFileUpToSixteenAndNothingBeyond) {
    const struct {
        uint8_t stored;
        Messages expected;
    } rows[] = {{15, {On(15, 36, 100), Off(15, 36)}}, {16, {}}, {200, {}}};
    for (const auto& row : rows) {
        EngineRig rig;
        OptionsRecord stored = rig.s.Options;
        stored.UseDrumMode = 1;
        stored.DrumInPort = 1;  // In2
        stored.DrumInChannel = 9;
        stored.DrumOutChannel = row.stored;
        stored.DrumAutoNoteOff = 1;
        const auto* bytes = reinterpret_cast<const uint8_t*>(&stored);
        WriteBytes(kOptionsFile, std::vector<uint8_t>(bytes, bytes + sizeof stored));
        LoadOptions(rig.s.Options, rig.s.Bank.GmMode, rig.dialogs, rig.display);
        rig.Play(2, On(9, 36, 100));
        rig.Play(2, Off(9, 36));
        DrumOffTimerTimer(rig.s);
        DrumOffTimerTimer(rig.s);
        EXPECT_EQ(rig.Synth(), row.expected) << int(row.stored);
    }
}

class GmMode : public ::testing::Test {
protected:
    GmMode() {
        rig.s.Bank.GmMode = true;
        rig.s.Options.GmPort = 1;  // In2
    }
    EngineRig rig;
};

TEST_F(GmMode, TheGmInputPassesUnchangedAndItsEffectSendsGoToTheControlPort) {
    rig.Play(2, On(2, 60, 90));
    rig.Play(2, On(2, 60, 0));
    rig.Play(2, PackShortMessage(0xC0, 2, 7, 0));
    rig.Play(2, Cc(2, 93, 10));
    EXPECT_EQ(rig.Synth(), (Messages{On(2, 60, 90), On(2, 60, 0), PackShortMessage(0xC0, 2, 7, 0)}));
    EXPECT_EQ(rig.Control(), Messages{Cc(2, 93, 10)});
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 0u);
}

TEST_F(GmMode, TheOtherInputFollowsTheThruMode) {
    rig.s.Grid.Row = 5;
    for (uint8_t mode : {0, 1, 2}) {
        rig.s.Options.GmThruMode = mode;
        rig.ClearSent();
        rig.Play(1, On(0, 60, 90));
        const Messages expected = mode == 0 ? Messages{} : mode == 1 ? Messages{On(4, 60, 90)} : Messages{On(0, 60, 90)};
        EXPECT_EQ(rig.Synth(), expected) << "GmThruMode " << int(mode);
    }
}

TEST_F(GmMode, ChannelTenNoteOffsOfTheGmInputComeFromTheTimerOnChannelTen) {
    rig.s.Options.GmAutoNoteOff = 1;
    rig.s.Options.DrumOutChannel = 5;  // the external drums' channel has no say here
    rig.Play(2, On(9, 42, 100));
    rig.Play(2, Off(9, 42));
    rig.Play(2, Off(3, 42));  // other channels end at once
    EXPECT_EQ(rig.Synth(), (Messages{On(9, 42, 100), Off(3, 42)}));
    rig.ClearSent();
    DrumOffTimerTimer(rig.s);
    DrumOffTimerTimer(rig.s);
    EXPECT_EQ(rig.Synth(), Messages{Off(9, 42)});
}

}  // namespace
}  // namespace cadenzo
