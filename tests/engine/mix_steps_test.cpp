// Next and previous mix from the footswitch controllers and the keys.
#include <gtest/gtest.h>

#include "engine/messages.h"
#include "support/engine_rig.h"
#include "support/key_window.h"
#include "ui/key_map.h"
#include "ui/virtual_keys.h"

namespace cadenzo {
namespace {

using namespace test;

constexpr uint32_t kNext = 80, kPrevious = 81;

ShortMessage Cc(uint32_t controller, uint32_t value) { return PackShortMessage(0xB0, 0, controller, value); }
ShortMessage Program(uint32_t p) { return PackShortMessage(0xC0, 0, p, 0); }

// Every mix plays In1 and In2 channel 1 on its own sound, so a controller
// passed to the layers, or a step to the wrong mix, shows in what is sent.
void GiveEveryMixASound(EngineRig& rig) {
    for (int p = 0; p < kPrograms; ++p) {
        ChannelRecord& layer = rig.s.Bank.Bank.Slots[p].Channels[0];
        layer.In1Channel = layer.In2Channel = 1;
        layer.PG = static_cast<uint8_t>(p);
    }
}

class Footswitch : public ::testing::Test {
protected:
    Footswitch() {
        for (EngineRig* r : {&rig, &twin}) {
            GiveEveryMixASound(*r);
            r->Play(1, Program(0));
        }
        ParseSetList("5 Opening\n9\n2 Encore\n", rig.s.Songs);
        rig.s.Footswitch.NextController = kNext;
        rig.s.Footswitch.PreviousController = kPrevious;
    }
    // Plays the controller value into In2, and the program change the twin
    // is expected to match into its In1; both must send the same and land on
    // the same mix.
    void Expect(uint32_t controller, uint32_t value, int mix) {
        rig.ClearSent();
        twin.ClearSent();
        rig.Play(2, Cc(controller, value));
        if (mix >= 0) twin.Play(1, Program(static_cast<uint32_t>(mix)));
        EXPECT_EQ(rig.Synth(), twin.Synth()) << controller << "=" << value;
        EXPECT_EQ(rig.s.Bank.CurrentProgram, twin.s.Bank.CurrentProgram) << controller << "=" << value;
    }
    EngineRig rig, twin;
};

TEST_F(Footswitch, StepsThroughTheSetListAsProgramChangesDoAndStaysAtItsEnds) {
    Expect(kNext, 127, 5);   // from a mix not in the list: the first entry
    Expect(kNext, 0, -1);    // a momentary switch let go: nothing
    Expect(kNext, 127, 9);
    Expect(kNext, 100, -1);  // still down: no step
    Expect(kNext, 0, -1);
    Expect(kNext, 64, 2);
    Expect(kNext, 0, -1);
    Expect(kNext, 127, -1);  // at the end it stays, sending nothing
    Expect(kPrevious, 127, 9);
    Expect(kPrevious, 63, -1);
    Expect(kPrevious, 127, 5);
    Expect(kPrevious, 0, -1);
    Expect(kPrevious, 127, -1);  // at the start likewise

    for (EngineRig* r : {&rig, &twin}) r->Play(1, Program(50));
    Expect(kPrevious, 0, -1);
    Expect(kPrevious, 127, 2);  // from a mix not in the list: the last entry
    EXPECT_EQ(rig.Synth(), twin.Synth());
}

TEST_F(Footswitch, AChosenControllerNeverReachesTheLayersOthersDo) {
    rig.s.Options.CCBlocked[kNext] = 0;  // the filter passes it
    rig.s.Footswitch.NextController = 0;  // none chosen: 80 is a controller like any
    rig.ClearSent();
    rig.Play(2, Cc(kNext, 127));
    EXPECT_EQ(rig.Synth(), Messages{Cc(kNext, 127)});
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 0u);
    rig.s.Footswitch.NextController = kNext;
    Expect(kNext, 0, -1);  // chosen, the filter's pass is no matter: taken

    rig.s.Footswitch.Learning = 1;  // the learn button: the next controller moved is taken
    rig.Play(2, Cc(20, 127));
    EXPECT_EQ(rig.s.Footswitch.NextController, 20);
    EXPECT_EQ(rig.s.Footswitch.Learning.load(), 0);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 0u);  // the press that was learnt is no step
    Expect(20, 0, -1);
    Expect(20, 127, 5);
}

TEST(MixStepKeys, QuoteAndSemicolonStepTheMixNumbersWithoutASetListAndStayAtTheEnds) {
    EngineRig rig;
    CountingKeyWindow window;
    const auto press = [&](uint16_t key) {
        KeyDown(rig.s, window, key);
        KeyUp(rig.s, window, key);
        return rig.s.Bank.CurrentProgram;
    };
    EXPECT_EQ(press(vk::OemSemicolon), 0u);
    EXPECT_EQ(press(vk::OemQuote), 1u);
    EXPECT_EQ(press(vk::OemQuote), 2u);
    EXPECT_EQ(press(vk::OemSemicolon), 1u);
    rig.Play(1, Program(127));
    rig.ClearSent();
    EXPECT_EQ(press(vk::OemQuote), 127u);
    EXPECT_EQ(rig.Synth(), Messages{});

    ParseSetList("7\n3\n", rig.s.Songs);  // with one, the keys follow it
    EXPECT_EQ(press(vk::OemSemicolon), 3u);
    EXPECT_EQ(press(vk::OemSemicolon), 7u);
    rig.s.Bank.GmMode = true;  // no mix is chosen in GM mode
    EXPECT_EQ(press(vk::OemQuote), 7u);
}

}  // namespace
}  // namespace cadenzo
