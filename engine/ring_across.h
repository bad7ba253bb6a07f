// Notes that ring across a mix change (an option, off by default). When a
// transmission changes a polyphonic layer's inputs, zones or transposition
// while keys or pedals held on its inputs keep notes of it sounding,
// the layer is not silenced: its former routing is kept, the note-off of
// each key held at the change goes through it to the channel and note the
// key started on, and the pedals' releases reach it too (as every pedal's
// release reaches where its press went, see engine/pedals.h). A layer
// whose routing changed while a key was held never struck that key, so the
// key's note-off does not reach it through the working mix. A layer that
// changes again while it carries is silenced, as with the option off.
// Whoever calls these holds the engine lock.
#pragma once

#include <array>
#include <cstdint>

#include "bank/mix_records.h"
#include "engine/transmission_state.h"

namespace cadenzo {

struct SystemState;

struct RingAcrossState {
    uint8_t Enabled = 0;  // the setting; written by the setup dialog, read with ReadShared
    // Layer c's routing as it was when it began to carry notes of a mix gone.
    std::array<std::array<uint8_t, kShadowBytes>, kChannels> Layers{};
    uint16_t Carrying = 0;  // bit c: layer c carries
    // Per input ((port - 1) * 16 + channel) and key held through a change:
    // the layers (bit c) whose routing changed while it was held; 0 for a
    // key not carried.
    std::array<std::array<uint16_t, 128>, 2 * kChannels> ChangedUnderKey{};
    int CarriedKeys = 0;  // keys with a non-zero entry above
    // Per input (port - 1): the channels whose pedals (sustain, sostenuto,
    // hold) keep notes of the carrying layers until they come up.
    std::array<uint16_t, 2> Pedals{};
};

// A transmission is about to change layer c's routing from `before`. True
// when the option is on and held keys or pedals keep notes of the layer
// sounding: they are carried, and the layer must not be silenced.
bool CarryAcrossChange(SystemState& s, int c, const std::array<uint8_t, kShadowBytes>& before);

// A note-off from the dispatcher: sends it through the carrying layers when
// the key was held across a change. Returns the layers (bit c) that the
// key's note-off must not reach through the working mix.
uint16_t CarriedNoteOff(SystemState& s, uint8_t port, uint8_t ch, uint8_t note, uint8_t velocity);

// The release of a pedal that keeps notes, from the dispatcher once it went
// where the pedal's presses went: the carrying that waited for the input's
// pedals ends once none is held and nothing else is owed a release.
void CarriedPedalRelease(SystemState& s, uint8_t port, uint8_t ch);

}  // namespace cadenzo
