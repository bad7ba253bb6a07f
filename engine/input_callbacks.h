// The three input callbacks. They run on the MIDI service's threads (under
// JACK the real-time thread): no allocation, no blocking. `context` is the
// SystemState.
//   In1, In2: tag the message with its port and queue it; then play the
//   queue at once where the engine lock is free, or wake the MIDI engine
//   thread to play it (engine/engine_thread.h).
//   In3 (and In1 in GM mode with "In 1 to THRU Out"): copy straight to ThruOut.
// Each also notes what its device holds down (PortState, HeldKeys). When a
// device is lost the window thread calls its callback with the releases.
#pragma once

#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

inline constexpr uint32_t kIn1Tag = 0x01000000;
inline constexpr uint32_t kIn2Tag = 0x02000000;

void In1Callback(void* context, uint16_t kind, ShortMessage m);
void In2Callback(void* context, uint16_t kind, ShortMessage m);
void In3Callback(void* context, uint16_t kind, ShortMessage m);

}  // namespace cadenzo
