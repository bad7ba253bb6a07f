// Terca mode: a layer plays the note a third (or, in one scale type, a sixth)
// above the one received, within a scale that the terci scan sets from three
// notes played on a chosen input and channel. Runs where the engine lock is
// held (an input callback, the MIDI engine thread or the window thread).
#pragma once

#include <cstdint>

#include "engine/system_state.h"
#include "services/colours.h"
#include "services/display.h"

namespace cadenzo {

inline constexpr Rgb kTercaScanColour = kRed;      // while a scan runs
inline constexpr Rgb kTercaIdleColour = kSilver;   // otherwise

// The note layer i plays for a received note: shifted up by the current
// scale's interval when the layer's terca switch is on. May exceed 127; the
// transposition clamps it.
int TercaNote(const SystemState& s, int i, int note);

// The '\' key: silences the assigned layers and starts a scan, or cancels the
// running one. Does nothing in GM mode or while the terci port is disabled.
void TercScanKey(SystemState& s);

// The terci port option was changed: a disabled port ends the running scan
// (root and type stay), since the '\' key can no longer cancel it.
void TerciPortChanged(SystemState& s);

// Offered every note-on (velocity above 0) before routing; true when the
// running scan took the note, which is then not played.
bool TercScanNote(SystemState& s, uint8_t port, uint8_t ch, uint8_t note);

// True while a scan collects notes: note-offs are then dropped.
bool TercNoteOffBlocked(const SystemState& s);

// The root, scale type and scan as the display shows them.
TercaShown TercaShownNow(const SystemState& s);
// Shows the root and scale type, on red while a scan runs.
void ShowTerca(SystemState& s);

}  // namespace cadenzo
