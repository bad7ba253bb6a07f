// Pedal releases go where their presses went. A synthesiser keeps a note
// held by a pedal through All Notes Off, so a channel cut while a pedal is
// down there is also sent the pedal's release, and a player's pedal-up
// reaches every channel its press reached that still holds it, whether or
// not the working mix still routes the input there. Channels where a pedal
// was never pressed get nothing more. Whoever calls these holds the engine
// lock.
#pragma once

#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

struct PedalState;
struct SystemState;

// A message that went out to the synthesiser: a pedal's press or release
// there is noted.
void NotePedalSent(PedalState& p, ShortMessage m);

// Channel c was cut with All Notes Off: the pedals held there come up.
void ReleaseHeldPedals(SystemState& s, int c);

// A controller from input port 1 or 2, before the working mix's layers get
// it: a pedal's press notes the layers it is about to reach, a release goes
// first to the channels a press reached that no layer sends it to now.
void PlayerPedal(SystemState& s, uint8_t port, uint8_t ch, uint8_t controller, uint8_t value);

// Sustain, sostenuto and hold keep notes sounding after their note-off; the
// soft pedal does not.
bool HoldsNotes(uint8_t controller);

// Channel c holds down a pedal that keeps notes, pressed from channel ch of
// input port 1 or 2.
bool PedalKeepsNotes(const SystemState& s, uint8_t port, uint8_t ch, int c);

// A pedal that keeps notes, pressed from channel ch of input port 1 or 2,
// has not come up yet.
bool PedalHeldAt(const SystemState& s, uint8_t port, uint8_t ch);

}  // namespace cadenzo
