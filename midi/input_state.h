// What the playing inputs hand to the main thread: the queue of tagged
// entries and the wake that tells the main thread to drain it.
#pragma once

#include "midi/input_queue.h"
#include "midi/input_wake.h"

namespace cadenzo {

struct InputState {
    InputQueue Queue;
    InputWake Wake;
};

}  // namespace cadenzo
