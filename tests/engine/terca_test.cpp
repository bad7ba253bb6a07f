#include <set>

#include <gtest/gtest.h>

#include "engine/messages.h"
#include "engine/terca.h"
#include "engine/terca_tables.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;
using Terca = RecordingDisplay::Terca;

class TercaMode : public ::testing::Test {
protected:
    TercaMode() {
        Listen(Layer(0), 1);
        Listen(Layer(1), 1).Trc = 1;
    }
    ChannelRecord& Layer(int i) { return rig.s.Bank.WorkingMix.Channels[i]; }
    void SetScale(uint8_t root, uint8_t type) {
        rig.s.Terca.TercRoot = root;
        rig.s.Terca.TercScaleType = type;
    }
    void Scan(std::initializer_list<int> notes) {
        TercScanKey(rig.s);
        for (int n : notes) rig.Play(1, On(0, n, 100));
    }
    EngineRig rig;
};

TEST_F(TercaMode, ATercaLayerAddsTheThirdAboveWithinTheScale) {
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, Off(0, 60));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 60, 100), On(1, 64, 100), Off(0, 60), Off(1, 64)}));
    EXPECT_EQ(TercaNote(rig.s, 1, 64), 67);
    EXPECT_EQ(TercaNote(rig.s, 1, 59), 62);
    EXPECT_EQ(TercaNote(rig.s, 0, 59), 59);  // terca off
    SetScale(0, 3);
    EXPECT_EQ(TercaNote(rig.s, 1, 60), 68);  // "harm moll low": a sixth
    SetScale(2, 0);
    EXPECT_EQ(TercaNote(rig.s, 1, 1), 1 + TercIntervalTable[0][11]);  // C# lies 11 above D
}

TEST_F(TercaMode, AShiftBeyondTheNoteRangeIsClampedWhenSent) {
    rig.Play(1, On(0, 125, 100));  // 125 is F: + 4 = 129
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 125, 100), On(1, 127, 100)}));
}

TEST_F(TercaMode, TheChordTableHolds48DistinctThreeNoteSets) {
    std::set<uint32_t> sets;
    for (const TercChord& chord : TercChordTable) sets.insert(chord.PitchSet);
    EXPECT_EQ(sets.size(), 48u);
    EXPECT_EQ(TercChordTable[0].PitchSet, 1u << 0 | 1u << 4 | 1u << 11);    // C E H, "nat dur"
    EXPECT_EQ(TercChordTable[12].PitchSet, 1u << 0 | 1u << 4 | 1u << 10);   // C E A#, "hidjas"
    EXPECT_EQ(TercChordTable[24 + 3].PitchSet, 1u << 3 | 1u << 6 | 1u << 2);  // D# F# D, "harm moll"
}

TEST_F(TercaMode, TheScanKeySilencesAssignedLayersAndShowsTheRunningScan) {
    rig.s.Options.TerciPort = 1;
    Listen(Layer(2), 17).MD = 1;
    rig.s.Performance.Channels[2].HeldNoteCount = 3;
    Layer(9).In2Channel = 10;  // the drum channel, reserved
    rig.s.Options.UseDrumMode = 1;
    TercScanKey(rig.s);
    EXPECT_EQ(rig.Synth(), (Messages{Cc(0, 123, 0), Cc(1, 123, 0), Cc(2, 123, 0)}));
    EXPECT_EQ(rig.s.Performance.Channels[2].HeldNoteCount, 0);
    EXPECT_EQ(rig.display.tercas.back(), (Terca{" C nat dur", kTercaScanColour}));
}

TEST_F(TercaMode, ThreeScannedNotesSetRootAndTypeWhenTheyMatchAChord) {
    rig.s.Options.TerciPort = 1;
    Scan({63, 66, 74});  // D# F# D
    EXPECT_EQ(rig.Synth(), (Messages{Cc(0, 123, 0), Cc(1, 123, 0)}));  // the notes are not played
    EXPECT_EQ(rig.s.Terca.TercRoot, 3);
    EXPECT_EQ(rig.s.Terca.TercScaleType, 2);
    EXPECT_EQ(rig.display.tercas.back(), (Terca{" D#harm moll", kTercaIdleColour}));

    Scan({60, 64, 67});  // a major triad matches nothing
    EXPECT_EQ(rig.s.Terca.TercRoot, 3);
    EXPECT_EQ(rig.s.Terca.TercScaleType, 2);
    Scan({48, 76, 59});  // C E H in any octave and order
    EXPECT_EQ(rig.s.Terca.TercRoot, 0);
    EXPECT_EQ(rig.s.Terca.TercScaleType, 0);
    EXPECT_EQ(rig.display.tercas.back(), (Terca{" C nat dur", kTercaIdleColour}));
}

TEST_F(TercaMode, DuringAScanOtherNotesSoundAndEveryNoteOffIsDropped) {
    rig.s.Options.TerciPort = 1;
    rig.s.Options.TerciChannel = 0;
    Layer(0).In1Channel = 17;
    Layer(0).In2Channel = 17;
    TercScanKey(rig.s);
    rig.ClearSent();
    rig.Play(1, On(5, 50, 100));  // another channel
    rig.Play(2, On(0, 52, 100));  // another port
    rig.Play(1, Off(5, 50));
    rig.Play(2, On(0, 52, 0));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 50, 100), On(0, 52, 100)}));
}

TEST_F(TercaMode, TheScanKeyTwiceCancelsAndKeepsTheScale) {
    rig.s.Options.TerciPort = 3;
    SetScale(7, 1);
    TercScanKey(rig.s);
    rig.Play(2, On(0, 60, 100));
    TercScanKey(rig.s);
    EXPECT_FALSE(TercNoteOffBlocked(rig.s));
    EXPECT_EQ(rig.display.tercas.back(), (Terca{" G hidjas", kTercaIdleColour}));
    EXPECT_EQ(rig.s.Terca.TercRoot, 7);
}

TEST_F(TercaMode, TheScanKeyDoesNothingWhenDisabledOrInGmMode) {
    TercScanKey(rig.s);  // TerciPort "Disabled"
    rig.s.Options.TerciPort = 1;
    rig.s.Bank.GmMode = true;
    TercScanKey(rig.s);
    EXPECT_EQ(rig.Synth(), Messages{});
    EXPECT_TRUE(rig.display.tercas.empty());
    EXPECT_FALSE(TercNoteOffBlocked(rig.s));
}

}  // namespace
}  // namespace cadenzo
