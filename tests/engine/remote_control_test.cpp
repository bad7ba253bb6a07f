// Program changes and the master-volume controller from MIDI, and the two
// copies of the copy manager.
#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "engine/copy_manager.h"
#include "engine/messages.h"
#include "services/redraw_mask.h"
#include "support/engine_rig.h"
#include "support/key_window.h"
#include "ui/key_map.h"
#include "ui/virtual_keys.h"

namespace cadenzo {
namespace {

using namespace test;

ShortMessage Program(int ch, int p) { return PackShortMessage(0xC0, static_cast<uint32_t>(ch), static_cast<uint32_t>(p), 0); }

TEST(RemoteControl, AProgramChangeLoadsTransmitsAndRedraws) {
    EngineRig rig;
    rig.s.Bank.Bank.Slots[5].Channels[0].In1Channel = 1;
    rig.s.Bank.Bank.Slots[5].Channels[0].PG = 42;
    rig.Play(1, Program(11, 5));
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 5u);
    EXPECT_EQ(rig.s.Bank.WorkingMix.Channels[0].PG, 42);
    const Messages synth = rig.Synth();
    EXPECT_NE(std::find(synth.begin(), synth.end(), Program(0, 42)), synth.end());
    EXPECT_EQ(rig.display.refreshes, std::vector<uint32_t>{RedrawAll});

    rig.ClearSent();
    rig.Play(2, Program(0, 7));  // In2 is not the default's program-select port
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 5u);
    EXPECT_EQ(rig.Synth(), Messages{});
}

TEST(RemoteControl, WithShiftAndCtrlHeldAProgramChangeStores) {
    EngineRig rig;
    CountingKeyWindow window;
    rig.s.Bank.WorkingMix.Channels[3].Vol = 17;
    rig.s.Bank.MixModified = true;
    KeyDown(rig.s, window, vk::Shift);  // Shift alone loads
    rig.Play(1, Program(0, 4));
    EXPECT_EQ(rig.s.Bank.WorkingMix.Channels[3].Vol, 110);

    rig.s.Bank.WorkingMix.Channels[3].Vol = 17;
    KeyDown(rig.s, window, vk::Control);
    rig.Play(1, Program(0, 17));
    EXPECT_EQ(rig.s.Bank.Bank.Slots[17].Channels[3].Vol, 17);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 17u);
    EXPECT_FALSE(rig.s.Bank.MixModified);

    KeyUp(rig.s, window, vk::Control);  // Shift alone again: a load
    rig.s.Bank.WorkingMix.Channels[3].Vol = 18;
    rig.Play(1, Program(0, 17));
    EXPECT_EQ(rig.s.Bank.WorkingMix.Channels[3].Vol, 17);

    KeyUp(rig.s, window, vk::Shift);
    KeyDown(rig.s, window, vk::Control);  // Ctrl alone loads too
    rig.s.Bank.WorkingMix.Channels[3].Vol = 19;
    rig.Play(1, Program(0, 17));
    EXPECT_EQ(rig.s.Bank.WorkingMix.Channels[3].Vol, 17);
}

// The program-select port filter: 0 none, 1 In1, 2 In2, 3 both.
TEST(RemoteControl, TheProgramSelectPortFilterPassesItsInputsOnly) {
    const struct {
        uint8_t filter;
        bool in1, in2;
    } rows[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
    for (const auto& row : rows) {
        EngineRig rig;
        rig.s.Options.ProgramSelectPort = row.filter;
        rig.Play(1, Program(0, 6));
        EXPECT_EQ(rig.s.Bank.CurrentProgram == 6, row.in1) << int(row.filter);
        rig.Play(2, Program(0, 9));
        EXPECT_EQ(rig.s.Bank.CurrentProgram == 9, row.in2) << int(row.filter);
    }
}

TEST(RemoteControl, AProgramNumberBeyondTheProgramsNeverReachesTheGmSetUp) {
    EngineRig rig;
    CountingKeyWindow window;
    KeyDown(rig.s, window, vk::Shift);
    KeyDown(rig.s, window, vk::Control);
    rig.s.Bank.WorkingMix.Channels[0].Vol = 1;
    rig.Play(1, Program(0, 128));  // a data byte with its top bit set
    EXPECT_EQ(rig.s.Bank.Bank.Slots[kGmSlot].Channels[0].Vol, 110);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 0u);
}

TEST(RemoteControl, TheMasterVolumeControllerPassesItsPortAndChannelFilters) {
    EngineRig rig;
    Listen(rig.s.Bank.WorkingMix.Channels[0], 17);
    rig.s.Options.CCBlocked[7] = 0;
    rig.s.Options.MasterVolumePort = 3;
    rig.s.Options.MasterVolumeChannel = 0;
    rig.Play(1, Cc(0, 7, 90));
    rig.Play(2, Cc(0, 7, 91));
    rig.Play(1, Cc(1, 7, 50));  // the wrong channel: dropped, not routed
    EXPECT_EQ(rig.s.Transmission.MasterVolume, 91);
    EXPECT_EQ(rig.Control(), (Messages{On(0, 127, 90), On(0, 127, 91)}));
    EXPECT_EQ(rig.display.masterVolumes, (std::vector<uint8_t>{90, 91}));
    EXPECT_EQ(rig.Synth(), Messages{});

    rig.s.Options.MasterVolumePort = 2;
    rig.Play(1, Cc(0, 7, 60));  // In1 fails the port filter: an ordinary controller
    EXPECT_EQ(rig.s.Transmission.MasterVolume, 91);
    EXPECT_EQ(rig.Synth(), Messages{Cc(0, 7, 60)});
}

TEST(CopyManager, TheProgramCopyStoresUnderTheTargetWhichBecomesCurrent) {
    EngineRig rig;
    rig.s.Bank.WorkingMix.Channels[2].Pan = 3;
    rig.s.Bank.MixModified = true;
    rig.s.Bank.ProgramCopyTarget = 8;
    ProgramCopy(rig.s);
    EXPECT_EQ(rig.s.Bank.Bank.Slots[8].Channels[2].Pan, 3);
    EXPECT_EQ(rig.s.Bank.Bank.Slots[0].Channels[2].Pan, 64);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 8u);
    EXPECT_FALSE(rig.s.Bank.MixModified);

    rig.s.Bank.GmMode = true;
    rig.s.Bank.ProgramCopyTarget = 9;
    ProgramCopy(rig.s);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 8u);
}

TEST(CopyManager, TheChannelCopyKeepsTheTargetsTercaAndMarksTheMixModified) {
    EngineRig rig;
    Mix& mix = rig.s.Bank.WorkingMix;
    ChannelRecord& from = Listen(mix.Channels[2], 4);
    from.Vol = 33;
    from.Trc = 1;
    from.RuntimeBytes.fill(7);
    mix.Channels[9].Trc = 0;
    mix.Channels[9].RuntimeBytes.fill(7);
    rig.s.Grid.Row = 3;
    rig.s.Bank.ChannelCopyTarget = 9;
    ChannelCopy(rig.s);

    ChannelRecord expected = from;
    expected.Trc = 0;
    EXPECT_EQ(std::memcmp(&mix.Channels[9], &expected, sizeof expected), 0);
    EXPECT_EQ(from.RuntimeBytes[0], 0);
    EXPECT_TRUE(rig.s.Bank.MixModified);
    EXPECT_EQ(rig.s.Bank.Bank.Slots[0].Channels[9].Vol, 110);  // the bank waits for a store

    LoadMix(rig.s.Bank, 1);
    EXPECT_EQ(mix.Channels[9].Vol, 110);
}

}  // namespace
}  // namespace cadenzo
