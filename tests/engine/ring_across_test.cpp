// Notes that ring across a mix change, played at the virtual back end's
// ports: a key held and a key sustained by the pedal through a program
// change, with the option off (the notes are cut) and on (they ring, and
// their releases reach the channel and note they started on). Either way
// nothing is left sounding once the keys and the pedal are up. The pedals
// a cut or a change leaves behind come up on the channel they went to.
#include <algorithm>
#include <array>
#include <tuple>

#include <gtest/gtest.h>

#include "support/engine_rig.h"
#include "support/key_window.h"
#include "ui/key_map.h"
#include "ui/virtual_keys.h"

namespace cadenzo {
namespace {

// What the synthesiser sounds: voices per channel and note, kept after
// their note-off (and through All Notes Off) by the sustain pedal, or by the
// sostenuto pedal when they were down as it was pressed.
class Synthesiser {
public:
    void Hear(const std::vector<ShortMessage>& messages) {
        for (ShortMessage m : messages) Hear(m);
    }
    void Hear(ShortMessage m) {
        const UnpackedMessage u = UnpackShortMessage(m);
        auto& voices = voices_[u.channel];
        auto& voice = voices[u.data1 & 0x7F];
        if (u.command == 0x90 && u.data2 > 0) voice = kKeyDown;
        if (u.command == 0x80 || (u.command == 0x90 && u.data2 == 0)) LetGo(u.channel, u.data1 & 0x7F);
        if (u.command != 0xB0) return;
        const bool down = u.data2 >= 64;
        if (u.data1 == 64) sustain_[u.channel] = down;
        if (u.data1 == 66) {
            for (int n = 0; n < 128; ++n) latched_[u.channel][n] = down && voices[n] == kKeyDown;
        }
        if ((u.data1 == 64 || u.data1 == 66) && !down) {
            for (int n = 0; n < 128; ++n)
                if (voices[n] == kSustained && !Holds(u.channel, n)) voices[n] = 0;
        }
        if (u.data1 == 123) {
            for (int n = 0; n < 128; ++n)
                if (voices[n] == kKeyDown) LetGo(u.channel, n);
        }
    }
    bool Sounds(int ch, int note) const { return voices_[ch][note] != 0; }
    bool Silent() const {
        return std::all_of(voices_.begin(), voices_.end(),
                           [](const auto& notes) { return std::all_of(notes.begin(), notes.end(), [](int v) { return v == 0; }); });
    }

private:
    static constexpr int kKeyDown = 1, kSustained = 2;
    bool Holds(int ch, int note) const { return sustain_[ch] || latched_[ch][note]; }
    void LetGo(int ch, int note) {
        int& voice = voices_[ch][note];
        voice = voice != 0 && Holds(ch, note) ? kSustained : 0;
    }
    std::array<std::array<int, 128>, 16> voices_{};
    std::array<bool, 16> sustain_{};
    std::array<std::array<bool, 128>, 16> latched_{};
};

// Mix 0: a piano on channel 1. Mix 1: strings on channel 2 and a bass on
// channel 1, an octave down.
class RingAcrossRig {
protected:
    explicit RingAcrossRig(bool ring) {
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
        rig.s.RingAcross.Enabled = ring ? 1 : 0;
        Play(0xC0, 0, 0);  // mix 0 sent
    }
    void Play(uint8_t status, uint8_t d1, uint8_t d2) {
        rig.Play(1, PackShortMessage(status, 0, d1, d2));
        synth.Hear(rig.Synth());
        rig.ClearSent();
    }

    // What playing the message sent to the synthesiser.
    std::vector<ShortMessage> Sent(uint8_t status, uint8_t d1, uint8_t d2) {
        rig.Play(1, PackShortMessage(status, 0, d1, d2));
        const auto sent = rig.Synth();
        synth.Hear(sent);
        rig.ClearSent();
        return sent;
    }
    static bool Has(const std::vector<ShortMessage>& sent, ShortMessage m) {
        return std::find(sent.begin(), sent.end(), m) != sent.end();
    }

    test::EngineRig rig;
    Synthesiser synth;
};

class RingAcross : public RingAcrossRig, public ::testing::TestWithParam<bool> {
protected:
    RingAcross() : RingAcrossRig(GetParam()) {}
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

TEST_P(RingAcross, AKeyWhoseLayerZoneIsEditedWhileHeldEndsOnItsChannel) {
    const bool ring = GetParam();
    test::CountingKeyWindow window;
    Play(0xB0, 64, 127);
    Play(0x90, 60, 90);
    rig.s.Grid = {9, 1};  // the piano's "KH"
    KeyDown(rig.s, window, vk::Home);
    synth.Hear(rig.Synth());
    rig.ClearSent();
    ASSERT_EQ(rig.s.Bank.WorkingMix.Channels[0].KH, 0);
    EXPECT_EQ(synth.Sounds(0, 60), ring);
    const auto release = Sent(0x80, 60, 0);
    EXPECT_EQ(Has(release, PackShortMessage(0x80, 0, 60, 0)), ring) << "the zone no longer takes C4";
    EXPECT_EQ(synth.Sounds(0, 60), ring) << "the pedal holds it";
    Play(0xB0, 64, 0);
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

// A pedal held over a change to a mix on another channel: with the option
// off the change cuts the note and lifts the pedal where it went; on, the
// note rings until the player's pedal comes up, and that release goes there.
class PedalAcross : public RingAcrossRig, public ::testing::TestWithParam<std::tuple<bool, uint8_t>> {
protected:
    PedalAcross() : RingAcrossRig(std::get<0>(GetParam())) {
        rig.s.Bank.Bank.Slots[1].Channels[0].In1Channel = 0;  // mix 1: the strings alone
        rig.s.Options.CCBlocked[std::get<1>(GetParam())] = 0;  // the sostenuto passes once unblocked
    }
};

TEST_P(PedalAcross, ThePedalComesUpWhereItWentDown) {
    const auto [ring, pedal] = GetParam();
    const ShortMessage lifted = PackShortMessage(0xB0, 0, pedal, 0);
    Play(0x90, 0x3C, 0x64);
    Play(0xB0, pedal, 0x7F);
    Play(0x80, 0x3C, 0x00);
    ASSERT_TRUE(synth.Sounds(0, 0x3C));
    const auto change = Sent(0xC0, 1, 0);
    EXPECT_EQ(Has(change, lifted), !ring);
    EXPECT_EQ(synth.Sounds(0, 0x3C), ring);
    const auto up = Sent(0xB0, pedal, 0);
    EXPECT_EQ(Has(up, lifted), ring);
    EXPECT_TRUE(Has(up, PackShortMessage(0xB0, 1, pedal, 0))) << "the strings get it as ever";
    EXPECT_TRUE(synth.Silent());
    EXPECT_FALSE(Has(Sent(0xC0, 0, 0), lifted)) << "channel 1 holds no pedal any more";
}

TEST_P(PedalAcross, AChannelThePedalNeverReachedGetsNoRelease) {
    const auto [ring, pedal] = GetParam();
    Play(0xC0, 1, 0);
    Play(0xB0, pedal, 0x7F);  // to the strings
    const auto back = Sent(0xC0, 0, 0);
    EXPECT_EQ(Has(back, PackShortMessage(0xB0, 1, pedal, 0)), !ring);
    EXPECT_FALSE(Has(back, PackShortMessage(0xB0, 0, pedal, 0)));
    EXPECT_EQ(Has(Sent(0xB0, pedal, 0), PackShortMessage(0xB0, 1, pedal, 0)), ring);
}

INSTANTIATE_TEST_SUITE_P(Pedals, PedalAcross, ::testing::Combine(::testing::Bool(), ::testing::Values(64, 66)),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param) ? "On" : "Off") +
                                    (std::get<1>(param.param) == 64 ? "Sustain" : "Sostenuto");
                         });

}  // namespace
}  // namespace cadenzo
