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
    uint8_t reverb = 0;  // General MIDI's reverb and chorus sends
    uint8_t chorus = 0;
};

constexpr DemoLayer kDemoLayers[] = {
    {.mix = 0, .layer = 0, .program = 0, .volume = 110, .reverb = 30},
    {.mix = 1, .layer = 0, .program = 0, .volume = 110, .reverb = 30},
    {.mix = 1, .layer = 1, .program = 48, .volume = 75, .reverb = 70, .chorus = 20},
    {.mix = 2,
     .layer = 0,
     .program = 33,
     .volume = 115,
     .highKey = 59,
     .transposition = kNoTransposition - 12,
     .reverb = 15},
    {.mix = 2, .layer = 1, .program = 0, .volume = 110, .lowKey = 60, .reverb = 30},
    {.mix = 3, .layer = 0, .program = 16, .volume = 100, .reverb = 40, .chorus = 70},
    {.mix = 3, .layer = 1, .program = 52, .volume = 70, .reverb = 80},
    {.mix = 4, .layer = 0, .program = 4, .volume = 105, .reverb = 35, .chorus = 30},
    {.mix = 4, .layer = 1, .program = 89, .volume = 60, .reverb = 90, .chorus = 40},
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
        layer.Rev = d.reverb;
        layer.Chr = d.chorus;
    }
}

}  // namespace cadenzo
