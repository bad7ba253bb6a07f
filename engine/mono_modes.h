// The three monophonic voice modes of a layer: "MN" plays a new note for
// every key, "ML" bends the sounding note to each later key at once, "MP"
// slides to it at the mix's portamento time. Runs where the engine lock is
// held (an input callback, the MIDI engine thread or the window thread).
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

enum VoiceMode : uint8_t { kPoly, kMono, kLegato, kPortamento };

// A mode byte above 3 (only a file written elsewhere holds one) plays
// polyphonic.
constexpr VoiceMode LayerVoiceMode(uint8_t md) { return md > kPortamento ? kPoly : static_cast<VoiceMode>(md); }

// Key t (after the terca shift) struck with velocity v on mono layer i.
void MonoNoteOn(SystemState& s, int i, int t, uint8_t v);

// Key t released on mono layer i.
void MonoNoteOff(SystemState& s, int i, int t);

}  // namespace cadenzo
