// The two paths around the layers: General MIDI pass-through and the
// external drum input, with the drum note-off timer. Runs where the engine
// lock is held (an input callback, the MIDI engine thread or the window
// thread).
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// Every input queue entry (port tag in bits 24..31) while GM mode is on.
void GmPassThrough(SystemState& s, uint32_t entry);

// A message from the external drum input's port and channel outside GM mode.
void ExternalDrumPath(SystemState& s, uint8_t command, uint8_t ch, uint8_t d1, uint8_t d2);

// The drum note-off timer's tick: sends the note-offs that became due at the
// previous tick, each on the channel its note-on went to (the drum output
// channel, or channel 10 in GM mode), then makes the pending ones due.
void DrumOffTimerTimer(SystemState& s);

}  // namespace cadenzo
