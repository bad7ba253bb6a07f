#include "demo/demo_bank.h"

namespace cadenzo {

namespace {

constexpr uint8_t kAllChannels = 17;
constexpr uint8_t kNoTransposition = 64;

struct DemoLayer {
    int mix;
    int layer;
    uint8_t program;  // General MIDI sound, 0 = acoustic grand piano
    uint8_t volume;
    uint8_t lowKey = 0;
    uint8_t highKey = 127;
    uint8_t transposition = kNoTransposition;
};

constexpr DemoLayer kDemoLayers[] = {
    {.mix = 0, .layer = 0, .program = 0, .volume = 110},
    {.mix = 1, .layer = 0, .program = 0, .volume = 110},
    {.mix = 1, .layer = 1, .program = 48, .volume = 75},
    {.mix = 2, .layer = 0, .program = 33, .volume = 115, .highKey = 59, .transposition = kNoTransposition - 12},
    {.mix = 2, .layer = 1, .program = 0, .volume = 110, .lowKey = 60},
    {.mix = 3, .layer = 0, .program = 16, .volume = 100},
    {.mix = 3, .layer = 1, .program = 52, .volume = 70},
    {.mix = 4, .layer = 0, .program = 4, .volume = 105},
    {.mix = 4, .layer = 1, .program = 89, .volume = 60},
};

}  // namespace

void MakeDemoMixes(MixBank& bank) {
    for (const DemoLayer& d : kDemoLayers) {
        ChannelRecord& layer = bank.Slots[d.mix].Channels[d.layer];
        layer.In1Channel = kAllChannels;
        layer.PG = d.program;
        layer.Vol = d.volume;
        layer.KL = d.lowKey;
        layer.KH = d.highKey;
        layer.Trs = d.transposition;
    }
}

}  // namespace cadenzo
