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

}  // namespace cadenzo
