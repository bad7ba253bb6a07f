// The input dispatcher, called by the message loop's hook on the main thread
// for every message the loop takes.
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// The hand-off message that the input callbacks post to the main thread.
inline constexpr uint32_t kHandOffMessage = 0x400;

void DispatchInput(SystemState& s, uint32_t messageId);

}  // namespace cadenzo
