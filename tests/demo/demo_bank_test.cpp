#include <gtest/gtest.h>

#include "demo/demo_bank.h"
#include "engine/messages.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;

class DemoMixes : public ::testing::Test {
protected:
    void Select(uint32_t mix) {
        MakeDemoMixes(rig.s.Bank.Bank);
        LoadMix(rig.s.Bank, mix);
        rig.ClearSent();
    }
    EngineRig rig;
};

TEST_F(DemoMixes, TheFirstMixPlaysEveryChannelOfIn1OnOneLayer) {
    Select(0);
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, On(5, 64, 90));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 60, 100), On(0, 64, 90)}));
}

TEST_F(DemoMixes, TheSplitMixPlaysTheBassAnOctaveDownBelowMiddleCAndThePianoFromItUp) {
    Select(2);
    rig.Play(1, On(0, 59, 100));
    rig.Play(1, On(0, 60, 100));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 47, 100), On(1, 60, 100)}));
}

}  // namespace
}  // namespace cadenzo
