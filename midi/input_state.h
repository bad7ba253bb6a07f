// What the playing inputs hand to the dispatcher: the queue of tagged
// entries, the wake that tells the MIDI engine thread to drain it, and what
// holds the dispatch back meanwhile.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "midi/input_queue.h"
#include "midi/owed_releases.h"
#include "midi/thread_wake.h"

namespace cadenzo {

struct InputState {
    InputQueue Queue;
    ThreadWake Wake;
    // How many reasons the dispatch has to wait: one from the start until
    // the message loop runs (and again once it has ended), and one for each
    // message box open. Queued input waits meanwhile and is taken, in order,
    // once none is left. Changed on the main thread, read by the dispatcher.
    std::atomic<uint32_t> DispatchHolds{1};
    // In1's and In2's releases that the full queue refused but must not lose.
    std::array<OwedReleases, 2> Owed;
    // How many messages the full queue refused and lost, since the start.
    std::atomic<uint32_t> Lost{0};
    // The last dispatch left entries queued because an output's buffer was
    // filling: the engine thread takes them on a cycle later.
    std::atomic<bool> Paced{false};
};

// Main thread: one more reason for the dispatch to wait.
inline void HoldDispatch(InputState& input) { input.DispatchHolds.fetch_add(1, std::memory_order_acq_rel); }

// Main thread: one reason fewer; the last one wakes the dispatcher for what
// has waited.
inline void ReleaseDispatch(InputState& input) {
    if (input.DispatchHolds.fetch_sub(1, std::memory_order_acq_rel) == 1) input.Wake.Signal();
}

// Any thread: the dispatch waits.
inline bool DispatchHeld(const InputState& input) { return input.DispatchHolds.load(std::memory_order_acquire) != 0; }

}  // namespace cadenzo
