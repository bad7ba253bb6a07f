// The glide tick: moves portamento slides and sends changed pitch bends.
// Runs on the glide timer's thread (under JACK, in the process cycle among
// its events), following the shared-state rules of the performance state.
#pragma once

#include "engine/performance_state.h"

namespace cadenzo {

struct SystemState;

// Timer callback; `user` is the SystemState.
void GlideTick(void* user);
// Whether the tick has nothing to do: no slide in progress and no bend
// waiting to be sent. The timer may then rest until TickWanted is signalled.
bool GlideResting(void* user);

// The set one tick further: GlideCurrent moved by GlideStep towards
// GlideTarget and cut there. A step of 0 moves one unit, so every slide ends.
GlideSet GlideStepped(GlideSet g);

}  // namespace cadenzo
