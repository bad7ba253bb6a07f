// The only way the program sends to the synthesiser and the DSP control
// port: monitor, send on the open port, light the lamps.
// SendToSynth: main and glide threads at once. SendToControl: main thread.
// Neither ever waits for another thread's send.
#pragma once

#include "midi/short_message.h"

namespace cadenzo {

struct SystemState;

void SendToSynth(SystemState& s, ShortMessage m);
void SendToControl(SystemState& s, ShortMessage m);

// Whether effect send `controller` also goes to the synthesiser: with the
// setting on, the reverb (91) and chorus (93) sends, which are General
// MIDI's own controllers; the delay send (92) has none.
bool EffectSendAlsoToSynth(const SystemState& s, uint8_t controller);

// An effect-send controller message: to the control port, and to the
// synthesiser as well where EffectSendAlsoToSynth says so.
void SendEffectSend(SystemState& s, ShortMessage m);

}  // namespace cadenzo
