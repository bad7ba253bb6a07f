// The MIDI monitor's shared part: whether the pane shows, and the events
// waiting to become its lines. Events are queued on any thread as 32-bit
// records (the kind in bits 24..31) and turned into text on the main thread.
#pragma once

#include <atomic>

#include "midi/input_queue.h"

namespace cadenzo {

struct MonitorState {
    std::atomic<bool> Visible{false};  // written by the main thread, read on any thread
    InputQueue Events;                 // any thread pushes, the main thread pops
};

}  // namespace cadenzo
