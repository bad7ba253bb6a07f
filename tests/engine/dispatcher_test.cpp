#include <algorithm>

#include <gtest/gtest.h>

#include "engine/bend.h"
#include "engine/messages.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;

ChannelRecord& Layer(EngineRig& rig, int i) { return rig.s.Bank.WorkingMix.Channels[i]; }

TEST(Dispatcher, SystemMessagesLightNothingAndSendNothing) {
    EngineRig rig;
    Listen(Layer(rig, 0), 17);
    rig.Play(1, 0xFE);  // active sensing
    rig.Play(1, 0xF8);  // clock
    EXPECT_EQ(rig.Synth(), Messages{});
    EXPECT_FALSE(rig.s.Lamps.Lit[ShapeIn1].load());

    rig.Play(1, Cc(0, 1, 5));
    rig.Play(2, Cc(0, 1, 5));
    EXPECT_TRUE(rig.s.Lamps.Lit[ShapeIn1].load());
    EXPECT_TRUE(rig.s.Lamps.Lit[ShapeIn2].load());
}

TEST(Dispatcher, ControllersReachEachListeningLayerOnItsOwnChannelThroughTheDefaultFilter) {
    EngineRig rig;
    Layer(rig, 0).In2Channel = 1;
    Layer(rig, 1).In2Channel = 17;
    Layer(rig, 2).In2Channel = 2;   // another channel
    Listen(Layer(rig, 3), 1);       // the other input
    rig.Play(2, Cc(0, 64, 127));
    EXPECT_EQ(rig.Synth(), (Messages{Cc(0, 64, 127), Cc(1, 64, 127)}));

    rig.ClearSent();
    for (int cc = 0; cc < 128; ++cc) rig.Play(2, Cc(0, cc, 9));
    EXPECT_EQ(rig.Synth(), (Messages{Cc(0, 1, 9), Cc(1, 1, 9), Cc(0, 11, 9), Cc(1, 11, 9), Cc(0, 33, 9),
                                     Cc(1, 33, 9), Cc(0, 64, 9), Cc(1, 64, 9)}));
}

TEST(Dispatcher, TheMasterVolumeControllerAndProgramChangesNeverReachTheLayers) {
    EngineRig rig;
    Listen(Layer(rig, 0), 17);
    rig.s.Options.CCBlocked[7] = 0;
    rig.s.Options.MasterVolumePort = 3;
    rig.Play(1, Cc(0, 7, 90));
    EXPECT_EQ(rig.Synth(), Messages{});

    rig.s.Options.MasterVolumePort = 0;  // now an ordinary, unblocked controller
    rig.Play(1, Cc(0, 7, 90));
    EXPECT_EQ(rig.Synth(), Messages{Cc(0, 7, 90)});

    rig.ClearSent();
    const ShortMessage programChange = PackShortMessage(0xC0, 0, 5, 0);
    rig.Play(1, programChange);  // selects mix 5 and is not passed on
    const Messages sent = rig.Synth();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), programChange), 0);
}

TEST(Dispatcher, PolyphonicAftertouchIsCopiedWithItsNoteUntransposed) {
    EngineRig rig;
    Listen(Layer(rig, 5), 4).Trs = 70;
    rig.Play(1, PackShortMessage(0xA0, 3, 60, 50));
    EXPECT_EQ(rig.Synth(), Messages{PackShortMessage(0xA0, 5, 60, 50)});
}

TEST(Dispatcher, NoteOnWithVelocityZeroIsRoutedAsNoteOff) {
    EngineRig rig;
    Listen(Layer(rig, 0), 17).Trs = 66;
    rig.Play(1, On(3, 60, 0));
    rig.Play(1, Off(3, 60, 0));
    EXPECT_EQ(rig.Synth(), (Messages{Off(0, 62), Off(0, 62)}));
}

TEST(Dispatcher, PitchWheelSetsTheWheelTermOfListeningLayersAndSendsNothing) {
    EngineRig rig;
    Listen(Layer(rig, 0), 1);
    Listen(Layer(rig, 1), 2);
    rig.Play(1, PackShortMessage(0xE0, 0, 0, 64));  // 0x2000, the centre
    EXPECT_EQ(rig.Synth(), Messages{});
    EXPECT_EQ(rig.s.Performance.Channels[0].WheelBend.load(), 1024);
    EXPECT_TRUE(rig.s.Performance.Channels[0].BendDirty.load());
    EXPECT_FALSE(rig.s.Performance.Channels[1].BendDirty.load());

    rig.s.Bank.WorkingMix.BendRange = 12;
    rig.Play(1, PackShortMessage(0xE0, 0, 0, 64));
    EXPECT_EQ(rig.s.Performance.Channels[0].WheelBend.load(), 6159);  // not 6144
}

TEST(Dispatcher, ChannelPressureBendsLayersWithAftertouchAndIsPassedToTheOthers) {
    EngineRig rig;
    Listen(Layer(rig, 0), 17).AT = 1;
    Listen(Layer(rig, 1), 17);
    rig.Play(1, PackShortMessage(0xD0, 4, 0, 0));
    EXPECT_EQ(rig.s.Performance.Channels[0].WheelBend.load(), 1024);  // pressure 0 = the centred wheel
    EXPECT_TRUE(rig.s.Performance.Channels[0].BendDirty.load());
    rig.Play(1, PackShortMessage(0xD0, 4, 127, 0));
    EXPECT_EQ(rig.s.Performance.Channels[0].WheelBend.load(), 16256 / 8);
    EXPECT_EQ(rig.Synth(), (Messages{PackShortMessage(0xD0, 1, 0, 0), PackShortMessage(0xD0, 1, 127, 0)}));
}

// The quotient is taken in double from the float divisor and cut toward
// zero; a float quotient would give 2560 at range 5 and 5120 at range 10.
TEST(Dispatcher, CentredWheelForEveryBendRange) {
    const int expected[13] = {0, 512, 1024, 1536, 2048, 2559, 3079, 3584, 4096, 4628, 5119, 5649, 6159};
    for (uint8_t range = 1; range <= 12; ++range) {
        EXPECT_EQ(ScaledWheel(8192, range), expected[range]) << "BendRange " << int(range);
    }
    EXPECT_EQ(ScaledWheel(16383, 2), 2047);
}

TEST(Dispatcher, BendRangeOutsideOneToTwelveCountsAsTheNearestEnd) {
    EngineRig rig;
    Listen(Layer(rig, 0), 1);
    for (uint8_t range : {uint8_t{0}, uint8_t{13}, uint8_t{255}}) {
        rig.s.Bank.WorkingMix.BendRange = range;
        rig.Play(1, PackShortMessage(0xE0, 0, 0, 64));
        const int32_t centred = LayerBend(rig.s, 0);
        EXPECT_EQ(centred, range == 0 ? 8192 : 8192 + 6159 - 12 * 512) << "BendRange " << int(range);
    }
}

TEST(Dispatcher, TheDrumOutputLayerIsSkippedAndTheDrumInputTakesItsOwnPath) {
    EngineRig rig;
    for (int i = 0; i < 4; ++i) Layer(rig, i).In1Channel = Layer(rig, i).In2Channel = 17;
    rig.s.Options.UseDrumMode = 1;
    rig.s.Options.DrumOutChannel = 2;
    rig.s.Options.DrumInPort = 1;  // In2
    rig.s.Options.DrumInChannel = 9;
    rig.Play(2, On(9, 36, 100));   // the drum input: not routed
    rig.Play(1, On(9, 60, 100));   // the same channel on the other input is
    rig.Play(2, Cc(9, 64, 127));
    EXPECT_EQ(rig.Synth(), (Messages{On(2, 36, 100), On(0, 60, 100), On(1, 60, 100), On(3, 60, 100),
                                     Cc(2, 64, 127)}));
}

TEST(Dispatcher, InGmModeNothingIsRoutedThroughTheLayers) {
    EngineRig rig;
    Listen(Layer(rig, 0), 17);
    rig.s.Bank.GmMode = true;
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, Cc(0, 64, 127));
    EXPECT_EQ(rig.Synth(), Messages{});
    EXPECT_TRUE(rig.s.Lamps.Lit[ShapeIn1].load());
}

TEST(Dispatcher, ABurstQueuedWhileTheMainThreadIsBusyIsRoutedInArrivalOrder) {
    EngineRig rig;
    Listen(Layer(rig, 0), 17).In2Channel = 17;
    Messages played;
    for (int k = 0; k < 500; ++k) {
        played.push_back(k % 2 == 0 ? On(0, k % 128, 1 + k % 127) : Off(0, (k - 1) % 128));
        rig.midi.Feed(k % 2, played.back());
    }
    rig.Dispatch();
    EXPECT_EQ(rig.Synth(), played);
}

TEST(Dispatcher, ControllerNumbersAboveTheTableAreDropped) {
    EngineRig rig;
    Listen(Layer(rig, 0), 17);
    rig.s.Options.CCBlocked.fill(0);
    rig.Play(1, 0x7F80B0u);  // controller 128, not a valid data byte
    EXPECT_EQ(rig.Synth(), Messages{});
}

}  // namespace
}  // namespace cadenzo
