// The input dispatcher. Whoever calls it holds the engine lock: the MIDI
// engine thread when the input wake has woken it, the window thread before
// a key command (so input that came first is played first).
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// The hand-off message: the input wake's, as the program's monitor shows it.
inline constexpr uint32_t kHandOffMessage = 0x400;

// Any thread: a message of the program (an event of the message loop, or the
// hand-off), noted while the monitor watches the program's messages.
void NoteProgramMessage(SystemState& s, uint32_t messageId);

// Every entry queued so far, in the order queued, unless the dispatch is
// held (entries pushed meanwhile are taken in the same pass).
void DispatchPending(SystemState& s);

// The input wake's hand-off: the message noted, then DispatchPending.
void HandOff(SystemState& s);

// Interprets one input queue entry (port tag in bits 24..31).
void ProcessInputEntry(SystemState& s, uint32_t entry);

}  // namespace cadenzo
