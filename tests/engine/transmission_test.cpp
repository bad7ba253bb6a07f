// Mix transmission: exact messages on the synthesiser and the control port.
#include <algorithm>

#include <gtest/gtest.h>

#include "engine/messages.h"
#include "engine/transmission.h"
#include "support/engine_rig.h"
#include "support/key_window.h"
#include "ui/key_map.h"
#include "ui/virtual_keys.h"

namespace cadenzo {
namespace {

using namespace test;

ShortMessage Note(int note, int value) { return On(0, note, value); }

Messages EqAndEffects(const std::array<uint8_t, 5>& effects, uint8_t band = 64) {
    Messages m;
    for (int n = 0; n < 30; ++n) m.push_back(Note(n, band));
    for (int k = 0; k < 5; ++k) m.push_back(Note(32 + k, effects[k]));
    return m;
}

Messages First(const Messages& m, size_t n) { return Messages(m.begin(), m.begin() + static_cast<long>(std::min(n, m.size()))); }

size_t AllNotesOffCount(const Messages& sent, int ch) {
    return static_cast<size_t>(std::count(sent.begin(), sent.end(), Cc(ch, 123, 0)));
}

class Transmission : public ::testing::Test {
protected:
    ChannelRecord& Layer(int c) { return rig.s.Bank.WorkingMix.Channels[c]; }
    void Transmit() {
        rig.ClearSent();
        TransmitMix(rig.s);
    }
    EngineRig rig;
};

TEST_F(Transmission, FirstTransmissionAfterStartUpByteForByte) {
    rig.s.Options.EffectLevels = {1, 2, 3, 4, 5};
    Listen(Layer(0), 1);
    Transmit();

    Messages synth{0x007BB0, 0x0000C0, 0x6E07B0, 0x400AB0, 0x0164B0, 0x0065B0, 0x4006B0, 0x0026B0,
                   0x0065B0, 0x0064B0, 0x1006B0};
    for (int c = 1; c < 16; ++c) synth.push_back(Cc(c, 123, 0));
    EXPECT_EQ(rig.Synth(), synth);

    Messages control{0x005BB0, 0x005DB0, 0x005CB0, 0x6E64B0, 0x0065B0, 0x0066B0};
    const Messages tail = EqAndEffects({1, 2, 3, 4, 5});
    control.insert(control.end(), tail.begin(), tail.end());
    EXPECT_EQ(rig.Control(), control);
}

TEST_F(Transmission, AnUnchangedInactiveMixSendsOnlyTheEqualisersAndEffectLevels) {
    Transmit();
    Transmit();
    EXPECT_EQ(rig.Synth(), Messages{});
    EXPECT_EQ(rig.Control(), EqAndEffects(rig.s.Options.EffectLevels));
}

TEST_F(Transmission, GmModeSendsTheGmSetUpInSixteenTimesSixPlusThirtyFiveMessages) {
    Mix& gm = rig.s.Bank.Bank.Slots[kGmSlot];
    gm.Channels[5].Out34 = 77;
    gm.EQ56.fill(9);
    rig.s.Options.GmEffectLevels = {11, 12, 13, 14, 15};
    Listen(Layer(0), 1).KH = 50;  // the working mix plays no part
    rig.s.Bank.GmMode = true;
    Transmit();

    const Messages synth = rig.Synth();
    const Messages control = rig.Control();
    EXPECT_EQ(synth.size() + control.size(), 16u * 6 + 35);
    EXPECT_EQ((Messages(synth.begin() + 15, synth.begin() + 18)), (Messages{Cc(5, 101, 0), Cc(5, 100, 0), Cc(5, 6, 2)}));
    EXPECT_EQ((Messages(control.begin() + 15, control.begin() + 18)),
              (Messages{Cc(5, 100, 110), Cc(5, 101, 77), Cc(5, 102, 0)}));
    EXPECT_EQ(control[48 + 20], Note(20, 9));
    EXPECT_EQ(control.back(), Note(36, 15));
    EXPECT_EQ(rig.s.Transmission.SentShadow[0][ShadowKH], 0);  // the shadow is left as it was
}

TEST_F(Transmission, FineTuneDataAroundTheCentre) {
    Listen(Layer(0), 1);
    Transmit();
    for (auto [tun, coarse, fine] : {std::tuple{0, 63, 0}, {127, 63, 127}, {128, 64, 0}, {255, 64, 127}}) {
        Layer(0).Tun = static_cast<uint8_t>(tun);
        Transmit();
        const Messages synth = rig.Synth();
        ASSERT_GE(synth.size(), 7u);
        EXPECT_EQ((Messages(synth.begin() + 3, synth.begin() + 7)),
                  (Messages{Cc(0, 100, 1), Cc(0, 101, 0), Cc(0, 6, coarse), Cc(0, 38, fine)}))
            << "Tun " << tun;
    }
}

TEST_F(Transmission, StoredBytesAbove127GoOutAs127) {
    rig.s.Options.EffectLevels = {200, 2, 3, 4, 5};
    ChannelRecord& layer = Listen(Layer(0), 1);
    layer.PG = 200;
    layer.Vol = 128;
    layer.Rev = 255;
    rig.s.Bank.WorkingMix.EQ12[0] = 130;
    Transmit();
    EXPECT_EQ(First(rig.Synth(), 3), (Messages{Cc(0, 123, 0), PackShortMessage(0xC0, 0, 127, 0), Cc(0, 7, 127)}));
    const Messages control = rig.Control();
    ASSERT_EQ(control.size(), 41u);
    EXPECT_EQ(control[0], Cc(0, 91, 127));
    EXPECT_EQ(control[6], Note(0, 127));
    EXPECT_EQ(control[36], Note(32, 127));
}

TEST_F(Transmission, NotesAreCutOnlyWhereZoneModeOrTercaChanged) {
    for (int c = 0; c < 3; ++c) Listen(Layer(c), 1);
    Transmit();

    Layer(1).Vol = 20;
    Transmit();
    for (int c = 0; c < 16; ++c) EXPECT_EQ(AllNotesOffCount(rig.Synth(), c), 0u) << c;

    Layer(1).KH = 90;
    Transmit();
    for (int c = 0; c < 16; ++c) EXPECT_EQ(AllNotesOffCount(rig.Synth(), c), c == 1 ? 1u : 0u) << c;

    Layer(2).Trc = 1;
    Transmit();
    for (int c = 0; c < 16; ++c) EXPECT_EQ(AllNotesOffCount(rig.Synth(), c), c == 2 ? 1u : 0u) << c;
}

TEST_F(Transmission, ModeChangesCutNotesAndResetTheGlideOrTheHeldKeys) {
    Listen(Layer(0), 1).MD = 2;
    Transmit();
    ChannelPerformance& p = rig.s.Performance.Channels[0];
    p.Glide.store(GlideSet{9000, 9500, 10, 1});

    Layer(0).MD = 0;
    Transmit();
    EXPECT_EQ(First(rig.Synth(), 3),
              (Messages{Cc(0, 123, 0), Bend(0, 8192), PackShortMessage(0xC0, 0, 0, 0)}));
    EXPECT_EQ(p.Glide.load().GlideCurrent, 8192);
    EXPECT_EQ(p.Glide.load().GlideTarget, 8192);

    p.HeldNoteCount = 2;
    Layer(0).MD = 3;
    Transmit();
    EXPECT_EQ(First(rig.Synth(), 2),
              (Messages{Cc(0, 123, 0), PackShortMessage(0xC0, 0, 0, 0)}));
    EXPECT_EQ(p.HeldNoteCount, 0);
}

TEST_F(Transmission, ABendSourceChangeCentresTheBendAndClearsThePressure) {
    Listen(Layer(4), 1);
    Transmit();
    Layer(4).AT = 1;
    Transmit();
    EXPECT_EQ(First(rig.Synth(), 2),
              (Messages{Bend(4, 8192), PackShortMessage(0xD0, 4, 0, 0)}));
}

TEST_F(Transmission, TheWheelTermIsRecentredForTheMixsBendRange) {
    rig.s.Bank.WorkingMix.BendRange = 6;
    rig.s.Performance.Channels[3].WheelBend = 5000;
    Transmit();
    EXPECT_EQ(rig.s.Performance.Channels[3].WheelBend.load(), 3079);
}

TEST_F(Transmission, DrumChannelUserControllersAndBankSelect) {
    rig.s.Options.UseDrumMode = 1;
    rig.s.Options.DrumOutChannel = 9;
    rig.s.Options.DrumReverb = 40;
    rig.s.Options.DrumChorus = 41;
    rig.s.Options.DrumDelay = 42;
    rig.s.Options.DrumOut12 = 11;
    rig.s.Options.DrumOut34 = 12;
    rig.s.Options.DrumOut56 = 13;
    Listen(Layer(9), 1).KH = 10;  // the drum channel's own record is ignored
    Listen(Layer(0), 1).Us2 = 33;
    Layer(0).Lsb = 4;
    Layer(0).Msb = 5;
    rig.s.Options.UserCC2 = 8;    // Us2 on controller 7
    rig.s.Options.UserCC3 = 200;  // no controller number: never sent
    rig.s.Options.ChangeBlendsWithBanks = 1;
    Transmit();

    const Messages control = rig.Control();
    const Messages drum{Cc(9, 91, 40), Cc(9, 93, 41), Cc(9, 92, 42), Cc(9, 100, 11), Cc(9, 101, 12), Cc(9, 102, 13)};
    EXPECT_TRUE(std::search(control.begin(), control.end(), drum.begin(), drum.end()) != control.end());
    const Messages synth = rig.Synth();
    EXPECT_EQ(std::count_if(synth.begin(), synth.end(), [](ShortMessage m) { return (m & 0x0F) == 9; }), 0);
    EXPECT_EQ((Messages(synth.begin() + 1, synth.begin() + 7)),
              (Messages{Cc(0, 0, 4), Cc(0, 32, 5), PackShortMessage(0xC0, 0, 0, 0), Cc(0, 7, 110), Cc(0, 10, 64),
                        Cc(0, 7, 33)}));
    EXPECT_EQ(synth[7], Cc(0, 100, 1));
}

// User controller numbers 1..128 carry the value on controller number - 1.
TEST_F(Transmission, UserControllerNumbersFromOneTo128) {
    const struct {
        uint8_t number;
        int controller;  // -1: nothing sent
    } rows[] = {{0, -1}, {1, 0}, {128, 127}, {129, -1}};
    Listen(Layer(5), 1).Us1 = 99;
    for (const auto& row : rows) {
        rig.s.Options.UserCC1 = row.number;
        Transmit();
        const Messages synth = rig.Synth();
        const auto carried = std::count_if(synth.begin(), synth.end(),
                                           [](ShortMessage m) { return (m & 0xFF00FF) == 0x6300B5; });
        EXPECT_EQ(carried, row.controller < 0 ? 0 : 1) << int(row.number);
        if (row.controller >= 0) {
            EXPECT_NE(std::find(synth.begin(), synth.end(), Cc(5, row.controller, 99)), synth.end()) << int(row.number);
        }
    }
}

// A voice-mode change cuts the notes; the bend is centred exactly when the
// new mode is poly or mono, where the tick no longer or never bends.
TEST_F(Transmission, EveryVoiceModeChangeCentresTheBendOnlyForPolyAndMono) {
    for (uint8_t from = 0; from <= 3; ++from) {
        for (uint8_t to = 0; to <= 3; ++to) {
            Listen(Layer(7), 1).MD = from;
            Transmit();
            Layer(7).MD = to;
            Transmit();
            const Messages synth = rig.Synth();
            const bool centred = std::find(synth.begin(), synth.end(), Bend(7, 8192)) != synth.end();
            EXPECT_EQ(centred, from != to && to <= 1) << int(from) << " to " << int(to);
            EXPECT_EQ(AllNotesOffCount(synth, 7), from != to ? 1u : 0u) << int(from) << " to " << int(to);
        }
    }
}

TEST_F(Transmission, MasterControlsOutputMixAndReset) {
    rig.s.Options.Mix34Level = 12;
    rig.s.Options.Mix56Level = 34;
    rig.s.Transmission.MasterVolume = 99;
    rig.s.Performance.MasterTranspose = -3;
    SendOutputMix(rig.s);
    SendMasterVolume(rig.s);
    ApplyMasterTranspose(rig.s);
    EXPECT_EQ(rig.Control(), (Messages{Note(30, 12), Note(31, 34), Note(127, 99)}));
    EXPECT_EQ(rig.display.masterVolumes, std::vector<uint8_t>{99});
    EXPECT_EQ(rig.display.masterTransposes, std::vector<int32_t>{-3});
    Messages notesOff;
    for (int c = 0; c < 16; ++c) notesOff.push_back(Cc(c, 123, 0));
    EXPECT_EQ(rig.Synth(), notesOff);

    rig.ClearSent();
    ResetAllChannels(rig.s);
    const Messages synth = rig.Synth();
    ASSERT_EQ(synth.size(), 16u * 6);
    EXPECT_EQ((Messages(synth.begin() + 6, synth.begin() + 12)),
              (Messages{Cc(1, 123, 0), Cc(1, 120, 0), Cc(1, 64, 0), Cc(1, 1, 0), PackShortMessage(0xA0, 1, 0, 0),
                        Bend(1, 8192)}));
}

// The General MIDI forms of the effect sends and the master volume on the
// synthesiser, played as a program change at In1 and a master-volume key.
class EffectSendsToSynth : public ::testing::TestWithParam<bool> {
protected:
    EffectSendsToSynth() {
        rig.s.Transmission.EffectSendsToSynth = GetParam() ? 1 : 0;
        for (int c : {2, 5}) {
            ChannelRecord& layer = Listen(rig.s.Bank.Bank.Slots[3].Channels[c], 1);
            layer.Rev = 40;
            layer.Chr = 20;
            layer.Del = 30;
        }
        rig.s.Options.UseDrumMode = 1;
        rig.s.Options.DrumOutChannel = 9;
        rig.s.Options.DrumReverb = 50;
        rig.s.Options.DrumChorus = 60;
        TransmitMix(rig.s);
        rig.ClearSent();
    }
    EngineRig rig;
};

TEST_P(EffectSendsToSynth, AProgramChangeAndTheMasterVolumeKey) {
    rig.Play(1, PackShortMessage(0xC0, 0, 3, 0));
    Messages layer2{PackShortMessage(0xC0, 2, 0, 0), Cc(2, 7, 110), Cc(2, 10, 64)};
    if (GetParam()) layer2.insert(layer2.end(), {Cc(2, 91, 40), Cc(2, 93, 20)});
    layer2.push_back(Cc(2, 100, 1));
    const Messages synth = rig.Synth();
    // Layer 2's zone changed from the default's: its notes are cut first.
    EXPECT_EQ(Messages(synth.begin() + 1, synth.begin() + 1 + static_cast<long>(layer2.size())), layer2);
    const auto count = [&](ShortMessage m) { return std::count(synth.begin(), synth.end(), m); };
    EXPECT_EQ(count(Cc(5, 91, 40)) + count(Cc(5, 93, 20)) + count(Cc(9, 91, 50)) + count(Cc(9, 93, 60)),
              GetParam() ? 4 : 0);
    EXPECT_EQ(std::count_if(synth.begin(), synth.end(), [](ShortMessage m) { return (m & 0xFF00) == 0x5C00; }), 0)
        << "the delay send has no General MIDI controller";
    const Messages control = rig.Control();
    const Messages sends{Cc(5, 91, 40), Cc(5, 93, 20), Cc(5, 92, 30)};
    EXPECT_NE(std::search(control.begin(), control.end(), sends.begin(), sends.end()), control.end());

    rig.ClearSent();
    CountingKeyWindow window;
    for (int step = 0; step < 20; ++step) KeyDown(rig.s, window, vk::Add);  // 110 up to 127, then no more
    KeyDown(rig.s, window, vk::Subtract);
    const Messages volumes = rig.Synth();
    ASSERT_EQ(volumes.size(), GetParam() ? 18u : 0u);
    if (GetParam()) {
        EXPECT_EQ(Messages(volumes.end() - 2, volumes.end()), (Messages{PackMasterVolume(127), PackMasterVolume(126)}));
    }
    EXPECT_EQ(rig.Control().back(), Note(127, 126));
}

INSTANTIATE_TEST_SUITE_P(Setting, EffectSendsToSynth, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "On" : "Off"; });

}  // namespace
}  // namespace cadenzo
