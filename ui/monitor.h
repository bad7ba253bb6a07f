// The MIDI monitor's inputs. Lines may be requested on any thread.
#pragma once

#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

struct SystemState;

// Adds a line for a short message (bits 24..31, the port tag, are shown
// for queue entries).
void MonitorShortMessage(SystemState& s, ShortMessage m);

// Adds a line for a message id seen by the main thread's message hook.
void MonitorWindowMessage(SystemState& s, uint32_t messageId);

}  // namespace cadenzo
