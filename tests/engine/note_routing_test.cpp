#include <gtest/gtest.h>

#include "engine/messages.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;

class NoteRouting : public ::testing::Test {
protected:
    ChannelRecord& Layer(int i) { return rig.s.Bank.WorkingMix.Channels[i]; }
    EngineRig rig;
};

TEST_F(NoteRouting, KeyZonesNormalAndSplit) {
    Listen(Layer(0), 1).KL = 60;
    Layer(0).KH = 48;  // split: 0..47 and 60..127
    Listen(Layer(1), 1).KL = 48;
    Layer(1).KH = 60;  // normal: 48..60
    for (int note = 0; note < 128; ++note) {
        rig.ClearSent();
        rig.Play(1, On(0, note, 100));
        Messages expected;
        if (note < 48 || note >= 60) expected.push_back(On(0, note, 100));
        if (note >= 48 && note <= 60) expected.push_back(On(1, note, 100));
        EXPECT_EQ(rig.Synth(), expected) << "key " << note;
    }
}

TEST_F(NoteRouting, FixedVelocityStillTestsThePlayedVelocityAgainstTheZone) {
    Listen(Layer(0), 1).Dyn = 100;
    Layer(0).VL = 90;
    Layer(0).VH = 20;  // split: below 20 or from 90 up
    rig.Play(1, On(0, 60, 10));
    rig.Play(1, On(0, 61, 50));   // refused
    rig.Play(1, On(0, 62, 127));
    rig.Play(1, Off(0, 61, 33));  // note-offs ignore the velocity zone
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 60, 100), On(0, 62, 100), Off(0, 61, 33)}));
    EXPECT_EQ(rig.s.Performance.Channels[0].LastVelocity, 100);
}

TEST_F(NoteRouting, LayerAndMasterTranspositionClampedToTheNoteRange) {
    Listen(Layer(0), 1).Trs = 76;  // +12
    rig.s.Performance.MasterTranspose = -2;
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, On(0, 120, 100));
    rig.Play(1, Off(0, 120));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 70, 100), On(0, 127, 100), Off(0, 127)}));
}

TEST_F(NoteRouting, LayersSoundInChannelOrderAndAFileModeByteAbove3PlaysPolyphonic) {
    Listen(Layer(3), 17).MD = 200;
    Listen(Layer(1), 17);
    rig.Play(1, On(5, 60, 90));
    rig.Play(1, On(5, 64, 91));
    rig.Play(1, Off(5, 60));
    EXPECT_EQ(rig.Synth(), (Messages{On(1, 60, 90), On(3, 60, 90), On(1, 64, 91), On(3, 64, 91),
                                     Off(1, 60), Off(3, 60)}));
}

TEST_F(NoteRouting, AFixedVelocityAboveTheDataRangeIsSentAs127) {
    Listen(Layer(0), 1).Dyn = 200;
    rig.Play(1, On(0, 60, 5));
    EXPECT_EQ(rig.Synth(), Messages{On(0, 60, 127)});
}

TEST_F(NoteRouting, ScaleBendPrecedesEveryNoteOfAScaledPolyLayer) {
    Listen(Layer(0), 1).Scl = 1;
    Listen(Layer(1), 1);
    rig.s.Bank.WorkingMix.KeyboardScale[4] = 72;  // E
    rig.s.Bank.WorkingMix.KeyboardScale[0] = 60;  // C
    rig.Play(1, On(0, 64, 100));
    rig.Play(1, On(0, 72, 100));
    EXPECT_EQ(rig.Synth(), (Messages{Bend(0, 8256), On(0, 64, 100), On(1, 64, 100), Bend(0, 8160),
                                     On(0, 72, 100), On(1, 72, 100)}));
    EXPECT_EQ(rig.s.Performance.Channels[1].ScaleOffset.load(), 512);
}

}  // namespace
}  // namespace cadenzo
