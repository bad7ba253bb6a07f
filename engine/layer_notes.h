// Note messages of a layer: the layer's channel, its transposition and the
// master transposition, clamped to the note range. Runs where the engine
// lock is held (an input callback, the MIDI engine thread or the window
// thread).
#pragma once

#include <cstdint>

#include "engine/system_state.h"
#include "engine/output.h"

namespace cadenzo {

// command is 0x80 or 0x90; t is the note after the terca shift.
inline void SendLayerNote(SystemState& s, int i, uint32_t command, int t, uint8_t velocity) {
    const uint8_t note = TransposeNote(t, s.Bank.WorkingMix.Channels[i].Trs, s.Performance.MasterTranspose);
    SendToSynth(s, PackShortMessage(command, static_cast<uint32_t>(i), note, velocity));
}

}  // namespace cadenzo
