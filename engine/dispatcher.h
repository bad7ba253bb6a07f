// The input dispatcher, called by the message loop's hook on the main thread
// for every message the loop takes.
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// The hand-off message that the input callbacks post to the main thread.
inline constexpr uint32_t kHandOffMessage = 0x400;

// The message loop's hook: on the hand-off message, drains the input queue.
void DispatchInput(SystemState& s, uint32_t messageId);

// Interprets one input queue entry (port tag in bits 24..31).
void ProcessInputEntry(SystemState& s, uint32_t entry);

}  // namespace cadenzo
