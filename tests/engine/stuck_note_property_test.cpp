// Random playing through random mixes: once every key is released, no
// channel and note that received a note-on is left sounding.
#include <random>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/messages.h"
#include "engine/sounding_notes.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

using namespace test;
using Key = std::tuple<int, int, int>;  // port, channel, note

class RandomPlayer {
public:
    explicit RandomPlayer(uint32_t seed) : rng_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    // Layers of every kind, including bytes outside their ranges as a file
    // written elsewhere may hold them. Input channels favour 1..4 and "All"
    // so that layers share keys.
    void RandomMix(SystemState& s) {
        Mix& mix = s.Bank.WorkingMix;
        for (ChannelRecord& layer : mix.Channels) {
            layer.In1Channel = static_cast<uint8_t>(Chance(40) ? 0 : Chance(30) ? 17 : Pick(1, Chance(80) ? 4 : 16));
            layer.In2Channel = static_cast<uint8_t>(Chance(60) ? 0 : Chance(30) ? 17 : Pick(1, 4));
            layer.KL = Byte(127);
            layer.KH = Byte(127);
            layer.VL = Byte(127);
            layer.VH = Byte(127);
            layer.Trs = Byte(127);
            layer.MD = static_cast<uint8_t>(Chance(90) ? Pick(0, 3) : Pick(4, 255));
            layer.Scl = Byte(1);
            layer.Trc = Byte(1);
            layer.Dyn = Chance(50) ? 0 : Byte(255);
            layer.AT = Byte(1);
        }
        for (uint8_t& step : mix.KeyboardScale) step = Byte(255);
        mix.BendRange = Byte(Chance(80) ? 12 : 255);
        mix.PortaSpeed = Byte(255);
        s.Terca.TercRoot = static_cast<uint8_t>(Pick(0, 11));
        s.Terca.TercScaleType = static_cast<uint8_t>(Pick(0, 3));
        s.Performance.MasterTranspose = Pick(-12, 12);
        s.Options.UseDrumMode = Byte(1);
        s.Options.DrumInPort = Byte(1);
        s.Options.DrumInChannel = static_cast<uint8_t>(Pick(0, 3));
        s.Options.DrumOutChannel = static_cast<uint8_t>(Pick(0, 15));
    }

    // Presses, releases (note-off or velocity 0) and controller traffic, then
    // every key still held is released in random order.
    void Play(EngineRig& rig, int steps) {
        for (int k = 0; k < steps; ++k) {
            if (!held_.empty() && Chance(45)) {
                Release(rig);
            } else if (Chance(10)) {
                rig.Play(Pick(1, 2), PackShortMessage(Chance(50) ? 0xE0 : 0xB0, Channel(), Byte(127), Byte(127)));
            } else {
                Press(rig);
            }
        }
        while (!held_.empty()) Release(rig);
    }

private:
    uint8_t Byte(int high) { return static_cast<uint8_t>(Pick(0, high)); }
    uint32_t Channel() { return static_cast<uint32_t>(Chance(80) ? Pick(0, 3) : Pick(0, 15)); }

    void Press(EngineRig& rig) {
        const Key key{Pick(1, 2), static_cast<int>(Channel()), Pick(0, 127)};
        if (!held_.insert(key).second) return;  // a key cannot be struck twice without release
        const auto [port, ch, note] = key;
        rig.Play(port, On(ch, note, Pick(1, 127)));
    }

    void Release(EngineRig& rig) {
        auto it = held_.begin();
        std::advance(it, Pick(0, static_cast<int>(held_.size()) - 1));
        const auto [port, ch, note] = *it;
        held_.erase(it);
        rig.Play(port, Chance(30) ? On(ch, note, 0) : Off(ch, note, Pick(0, 127)));
    }

    std::mt19937 rng_;
    std::set<Key> held_;
};

TEST(StuckNotes, OnceEveryKeyIsReleasedNothingSounds) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        EngineRig rig;
        RandomPlayer player(seed);
        player.RandomMix(rig.s);
        player.Play(rig, 600);
        SoundingNotes notes;
        notes.Apply(rig.Synth());
        EXPECT_EQ(notes.Held(), std::vector<std::string>{}) << "seed " << seed;
    }
}

}  // namespace
}  // namespace cadenzo
