// The glide tick: moves portamento slides and sends changed pitch bends.
// Runs on the glide timer's thread.
#pragma once

namespace cadenzo {

// Timer callback; `user` is the SystemState.
void GlideTick(void* user);

}  // namespace cadenzo
