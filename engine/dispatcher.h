// The input dispatcher. Whoever calls it holds the engine lock: the input
// callback that queued an entry while the engine was free, the MIDI engine
// thread when the input wake has woken it, the window thread before a key
// command and after each event it handled (so input that came first is
// played first, and input that came meanwhile is played at once).
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// The hand-off of queued input to the dispatcher, as the monitor shows it.
inline constexpr uint32_t kHandOffMessage = 0x400;

// Any thread: a message of the program (an event of the message loop, or the
// hand-off), noted while the monitor watches the program's messages.
void NoteProgramMessage(SystemState& s, uint32_t messageId);

// Every entry queued so far, in the order queued, unless the dispatch is
// held (entries pushed meanwhile are taken in the same pass). While an
// output's buffer is more than three quarters full the rest stays queued
// and the engine thread takes it on a cycle later (InputState::Paced).
void DispatchPending(SystemState& s);

// The hand-off of queued input: the message noted, then DispatchPending.
void HandOff(SystemState& s);

// The input callbacks, once an entry is queued: when the dispatch is not
// held and the engine lock is free, the hand-off runs here and now, on the
// callback's own thread; otherwise the input wake calls the engine thread.
// Never waits for the lock.
void PlayOrWake(SystemState& s);

// Interprets one input queue entry (port tag in bits 24..31).
void ProcessInputEntry(SystemState& s, uint32_t entry);

}  // namespace cadenzo
