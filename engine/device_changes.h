// What the program does when MIDI devices, or the MIDI service itself, come
// and go: the ports follow their devices, and a synthesiser or DSP whose
// port opens again gets everything start-up sent it. Main thread, holding the
// engine lock (let go while the MIDI service is asked for its lists).
#pragma once

#include <chrono>

#include "engine/system_state.h"

namespace cadenzo {

void FollowDeviceChanges(SystemState& s, std::chrono::steady_clock::time_point now);

}  // namespace cadenzo
