// What mix transmission keeps between transmissions: the routing fields last
// sent per channel, and the master volume of the DSP. Main thread only,
// but for the setting written by the setup dialog.
#pragma once

#include <array>
#include <cstdint>

#include "bank/mix_records.h"

namespace cadenzo {

// Per channel, copies of the working mix's fields last sent, in this order.
enum ShadowByte : uint8_t {
    ShadowIn1Channel,
    ShadowIn2Channel,
    ShadowKL,
    ShadowKH,
    ShadowVL,
    ShadowVH,
    ShadowTrs,
    ShadowAT,
    ShadowMD,
    ShadowScl,
    ShadowTrc,
    kShadowBytes
};

struct TransmissionState {
    std::array<std::array<uint8_t, kShadowBytes>, kChannels> SentShadow{};  // zero until the first transmission
    uint8_t MasterVolume = 110;  // 0..127, note 127 on the control port
    // The setting: the reverb and chorus sends and the master volume also to
    // the synthesiser, in their General MIDI forms. Written by the setup
    // dialog, read with ReadShared.
    uint8_t EffectSendsToSynth = 0;
};

}  // namespace cadenzo
