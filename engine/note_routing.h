// Note-on and note-off from a playing input through the layers of the
// working mix, in channel order. Runs where the engine lock is held (an
// input callback, the MIDI engine thread or the window thread).
//
// Polyphonic layers keep no record of the notes they sent: a note-off finds
// its note by applying the same key zone, terca shift and transposition
// again, with the settings in force at release. Only the mono modes remember
// keys (the held-note stack and BaseNote).
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// A note-on with velocity 1..127 that the terci scan did not take.
void NoteOnRouting(SystemState& s, uint8_t port, uint8_t ch, uint8_t note, uint8_t velocity);

// A note-off, or a note-on with velocity 0 (release velocity 0). The
// velocity zone is not tested, so every layer that could have taken the
// note-on gets the note-off.
// Layers with their bit set in skipLayers are passed over.
void NoteOffRouting(SystemState& s, uint8_t port, uint8_t ch, uint8_t note, uint8_t releaseVelocity,
                    uint16_t skipLayers = 0);

}  // namespace cadenzo
