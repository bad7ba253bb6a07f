// Notes that ring across a mix change, played at the virtual back end's
// ports: a key held and a key sustained by the pedal through a program
// change, with the option off (the notes are cut) and on (they ring, and
// their releases reach the channel and note they started on). Either way
// nothing is left sounding once the keys and the pedal are up.
#include <algorithm>
#include <array>

#include <gtest/gtest.h>

#include "support/engine_rig.h"

namespace cadenzo {
namespace {

// What the synthesiser sounds: voices per channel and note, kept by the
// sustain pedal after their note-off, cut by All Notes Off.
class Synthesiser {
public:
    void Hear(const std::vector<ShortMessage>& messages) {
        for (ShortMessage m : messages) Hear(m);
    }
    void Hear(ShortMessage m) {
        const UnpackedMessage u = UnpackShortMessage(m);
        auto& voice = voices_[u.channel][u.data1 & 0x7F];
        if (u.command == 0x90 && u.data2 > 0) voice = kKeyDown;
        if (u.command == 0x80 || (u.command == 0x90 && u.data2 == 0))
            voice = voice != 0 && pedal_[u.channel] ? kSustained : 0;
        if (u.command == 0xB0 && u.data1 == 64) {
            pedal_[u.channel] = u.data2 >= 64;
            if (!pedal_[u.channel]) Release(u.channel);
        }
        if (u.command == 0xB0 && u.data1 == 123) voices_[u.channel].fill(0);
    }
    bool Sounds(int ch, int note) const { return voices_[ch][note] != 0; }
    bool Silent() const {
        return std::all_of(voices_.begin(), voices_.end(),
                           [](const auto& notes) { return std::all_of(notes.begin(), notes.end(), [](int v) { return v == 0; }); });
    }

private:
    static constexpr int kKeyDown = 1, kSustained = 2;
    void Release(int ch) { std::replace(voices_[ch].begin(), voices_[ch].end(), kSustained, 0); }
    std::array<std::array<int, 128>, 16> voices_{};
    std::array<bool, 16> pedal_{};
};

class RingAcross : public ::testing::TestWithParam<bool> {
protected:
    RingAcross() {
        ChannelRecord& piano = rig.s.Bank.Bank.Slots[0].Channels[0];
        piano.In1Channel = 1;
        ChannelRecord& strings = rig.s.Bank.Bank.Slots[1].Channels[1];  // on another channel
        strings.In1Channel = 1;
        strings.PG = 48;
        ChannelRecord& bass = rig.s.Bank.Bank.Slots[1].Channels[0];     // on the piano's, an octave down
        bass.In1Channel = 1;
        bass.PG = 33;
        bass.Trs = 64 - 12;
        LoadMix(rig.s.Bank, 0);
        rig.s.RingAcross.Enabled = GetParam() ? 1 : 0;
        Play(0xC0, 0, 0);  // mix 0 sent
    }
    void Play(uint8_t status, uint8_t d1, uint8_t d2) {
        rig.Play(1, PackShortMessage(status, 0, d1, d2));
        synth.Hear(rig.Synth());
        rig.ClearSent();
    }

    test::EngineRig rig;
    Synthesiser synth;
};

TEST_P(RingAcross, HeldAndSustainedNotesThroughAProgramChange) {
    const bool ring = GetParam();
    Play(0xB0, 64, 127);  // sustain down
    Play(0x90, 64, 90);   // E4 struck and let go: the pedal holds it
    Play(0x80, 64, 0);
    Play(0x90, 60, 90);   // C4 held
    Play(0xC0, 1, 0);     // bass and strings
    EXPECT_EQ(synth.Sounds(0, 60), ring);
    EXPECT_EQ(synth.Sounds(0, 64), ring);

    Play(0x90, 67, 90);  // G4 after the change sounds in the new mix only
    EXPECT_TRUE(synth.Sounds(0, 55) && synth.Sounds(1, 67));
    EXPECT_FALSE(synth.Sounds(0, 67));
    rig.Play(1, PackShortMessage(0x80, 0, 60, 0));
    const auto release = rig.Synth();
    synth.Hear(release);
    rig.ClearSent();
    EXPECT_EQ(synth.Sounds(0, 60), ring) << "the pedal still holds it";
    if (ring) {
        EXPECT_EQ(release, (std::vector<ShortMessage>{PackShortMessage(0x80, 0, 60, 0)}))
            << "to where C4 started, and to no layer of the new mix";
    }
    Play(0x80, 67, 0);
    Play(0xB0, 64, 0);  // sustain up
    EXPECT_TRUE(synth.Silent());
}

TEST_P(RingAcross, ACarriedNotesReleaseKeepsItsLayersTransposition) {
    rig.s.Bank.Bank.Slots[0].Channels[0].Trs = 64 + 2;
    Play(0xC0, 0, 0);
    Play(0x90, 60, 90);  // C4 sounds as D4
    Play(0xC0, 1, 0);
    EXPECT_EQ(synth.Sounds(0, 62), GetParam());
    Play(0x80, 60, 0);
    EXPECT_TRUE(synth.Silent());
}

INSTANTIATE_TEST_SUITE_P(Option, RingAcross, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "On" : "Off"; });

}  // namespace
}  // namespace cadenzo
