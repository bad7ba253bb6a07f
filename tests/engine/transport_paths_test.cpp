// The thru paths, the queue hand-off of the playing inputs and the output
// primitives, on virtual devices.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "engine/output.h"
#include "ui/monitor.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

class TransportPaths : public ::testing::Test {
protected:
    // The queue is read here: the dispatch is held, as while a message box is open.
    TransportPaths() { HoldDispatch(rig.s.Input); }
    bool Lit(Lamp l) const { return rig.s.Lamps.Lit[l].load(); }
    void Darken() {
        for (int l = 0; l < kLampCount; ++l) {
            rig.s.Lamps.Lit[l] = false;
            rig.s.Lamps.Hold[l] = 0;
        }
    }
    std::vector<uint32_t> Drain() {
        std::vector<uint32_t> entries;
        uint32_t e = 0;
        while (rig.s.Input.Queue.Pop(e)) entries.push_back(e);
        return entries;
    }

    test::EngineRig rig;
};

TEST_F(TransportPaths, ThruInputPlaysStraightToTheThruOutput) {
    const std::vector<ShortMessage> played = {0x643C95, 0x0000F8, 0x7F40B0, 0x0000FE};
    for (ShortMessage m : played) rig.midi.Feed(2, m);
    EXPECT_EQ(rig.Thru(), played);
    EXPECT_TRUE(rig.Synth().empty());
    EXPECT_TRUE(rig.s.Input.Queue.Empty());
    EXPECT_TRUE(Lit(ShapeIn3));
    EXPECT_TRUE(Lit(ShapeOut2));
}

TEST_F(TransportPaths, ActiveSensingOnTheThruInputLightsNothing) {
    Darken();
    rig.midi.Feed(2, 0xFE);
    EXPECT_EQ(rig.Thru(), std::vector<ShortMessage>{0xFE});
    EXPECT_FALSE(Lit(ShapeIn3));
    EXPECT_FALSE(Lit(ShapeOut2));
}

TEST_F(TransportPaths, ThruTrafficWithTheThruOutputClosedLightsOnlyTheInputLamp) {
    SelectThruOutPort(rig.s, 0);
    Darken();
    rig.midi.Feed(2, 0x403C90);
    EXPECT_TRUE(Lit(ShapeIn3));
    EXPECT_FALSE(Lit(ShapeOut2));
}

TEST_F(TransportPaths, PlayingInputsAreQueuedWithTheirPortTag) {
    rig.midi.Feed(0, 0x403C90);
    rig.midi.Feed(1, 0x0040B3);
    rig.midi.Feed(0, 0xF8);
    rig.midi.Feed(0, 0x403C90, 0x3C4);  // kinds no back end sends are ignored
    rig.midi.Feed(1, 0x403C90, 0);
    EXPECT_EQ(Drain(), (std::vector<uint32_t>{0x01403C90, 0x020040B3, 0x010000F8}));
    EXPECT_TRUE(rig.Thru().empty());
}

TEST_F(TransportPaths, GmThruCopiesTheFirstInputOnlyInGmMode) {
    rig.s.Options.GmMidiThru = 1;
    rig.midi.Feed(0, 0x403C90);
    EXPECT_TRUE(rig.Thru().empty());
    rig.s.Bank.GmMode = true;
    rig.midi.Feed(0, 0x403C91);
    rig.midi.Feed(0, 0xF8);
    rig.midi.Feed(1, 0x403C92);  // the second input never goes thru
    EXPECT_EQ(rig.Thru(), (std::vector<ShortMessage>{0x403C91, 0xF8}));
    EXPECT_EQ(Drain(), (std::vector<uint32_t>{0x01403C90, 0x01403C91, 0x010000F8, 0x02403C92}));
    rig.s.Options.GmMidiThru = 0;
    rig.midi.Feed(0, 0x403C93);
    EXPECT_EQ(rig.Thru().size(), 2u);
}

TEST_F(TransportPaths, AFullQueueRefusesNewInputAndKeepsWhatIsPending) {
    for (uint32_t i = 0; i < 1100; ++i) rig.midi.Feed(0, 0x90 | (i % 128) << 8 | 0x400000);
    const auto entries = Drain();
    ASSERT_EQ(entries.size(), InputQueue::kMaxPending);
    for (uint32_t i = 0; i < entries.size(); ++i) ASSERT_EQ(entries[i], 0x01400090u | (i % 128) << 8);
}

// A message box holds the dispatch while a keyboard with aftertouch fills the
// queue: whatever the queue loses, a release of a press it took still plays,
// and the monitor says how much was lost.
TEST_F(TransportPaths, AFullQueueNeverLosesAReleaseOfAPressItTook) {
    struct Case {
        uint32_t device;
        ShortMessage press, release;
    };
    const Case cases[] = {
        {0, 0x643C90, 0x403C80},  // note-off
        {1, 0x643C90, 0x003C90},  // note-on with velocity 0, on In2
        {0, 0x7F40B0, 0x0040B0},  // sustain
        {1, 0x7F40B1, 0x1040B1},  // sustain on channel 2 of In2, let go below half
        {0, 0x7F42B0, 0x0042B0},  // sostenuto
        {1, 0x7F43B2, 0x0043B2},  // the soft pedal
    };
    ToggleMonitor(rig.s);
    rig.s.Bank.WorkingMix.Channels[0].In1Channel = 17;  // layer 1 listens to every channel of both inputs
    rig.s.Bank.WorkingMix.Channels[0].In2Channel = 17;
    rig.s.Options.CCBlocked[66] = 0;  // the sostenuto and soft pedals pass
    rig.s.Options.CCBlocked[67] = 0;
    uint32_t lost = 0;
    for (const Case& c : cases) {  // the dispatch is held, as while a message box is open
        rig.ClearSent();
        rig.midi.Feed(c.device, c.press);
        for (int i = 0; i < 1500; ++i) rig.midi.Feed(c.device, 0x4000D0);
        rig.midi.Feed(c.device, c.release);
        ReleaseDispatch(rig.s.Input);
        rig.Dispatch();
        const auto sent = rig.Synth();
        const auto last = std::find_if(sent.rbegin(), sent.rend(), [&](ShortMessage m) {
            return (m & 0xFF00) == (c.press & 0xFF00) && (m & 0xE0) == (c.press & 0xE0);
        });
        ASSERT_NE(last, sent.rend()) << std::hex << c.press;
        EXPECT_TRUE((*last & 0xF0) == 0x80 || (*last & 0xFF0000) < 0x400000) << std::hex << c.release;
        lost += 1500 - (InputQueue::kMaxPending - 1);
        EXPECT_EQ(TakeMonitorLines(rig.s, false).back(), "Input queue full: " + std::to_string(lost) + " messages lost");
        HoldDispatch(rig.s.Input);
    }
}

TEST_F(TransportPaths, SendToSynthSendsAndLightsThePortAndChannelLamps) {
    Darken();
    SendToSynth(rig.s, PackShortMessage(0x90, 4, 60, 100) | kIn2Tag);  // a queue entry may be sent as it is
    EXPECT_EQ(rig.Synth(), std::vector<ShortMessage>{0x643C94});
    EXPECT_TRUE(Lit(ShapeOut1));
    EXPECT_TRUE(Lit(static_cast<Lamp>(ShapeCh1 + 4)));
    EXPECT_FALSE(Lit(static_cast<Lamp>(ShapeCh1 + 5)));
}

TEST_F(TransportPaths, ASystemMessageLightsItsChannelLampButNotThePortLamp) {
    Darken();
    SendToSynth(rig.s, 0xF3);
    EXPECT_FALSE(Lit(ShapeOut1));
    EXPECT_TRUE(Lit(static_cast<Lamp>(ShapeCh1 + 3)));
}

TEST_F(TransportPaths, PortLampsRelightOnlyWhenDarkChannelLampsAlways) {
    Darken();
    SendToSynth(rig.s, 0x403C90);
    rig.s.Lamps.Hold[ShapeOut1] = 5;
    rig.s.Lamps.Hold[ShapeCh1] = 5;
    SendToSynth(rig.s, 0x403C90);
    EXPECT_EQ(rig.s.Lamps.Hold[ShapeOut1].load(), 5u);
    EXPECT_EQ(rig.s.Lamps.Hold[ShapeCh1].load(), 1u);
}

TEST_F(TransportPaths, SendingToClosedPortsSendsAndLightsNothing) {
    SelectSynthOutPort(rig.s, 0);
    SelectControlOutPort(rig.s, 0);
    Darken();
    SendToSynth(rig.s, 0x403C90);
    SendToControl(rig.s, 0x405BB0);
    for (int l = 0; l < kLampCount; ++l) EXPECT_FALSE(Lit(static_cast<Lamp>(l))) << l;
}

TEST_F(TransportPaths, SendToControlLightsOnlyTheControlLamp) {
    Darken();
    SendToControl(rig.s, 0x405BB0);
    EXPECT_EQ(rig.Control(), std::vector<ShortMessage>{0x405BB0});
    EXPECT_TRUE(Lit(ShapeOut3));
    EXPECT_FALSE(Lit(ShapeCh1));
}

}  // namespace
}  // namespace cadenzo
