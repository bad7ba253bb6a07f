// Next and previous mix: through the set list where there is one, else
// through the mix numbers, each step selecting its mix as a program change
// does. Played by two keys and by two footswitch controllers from the
// playing inputs. Whoever calls these holds the engine lock; on the playing
// path they neither allocate nor touch a file.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace cadenzo {

struct SystemState;

struct FootswitchState {
    // The settings, 0 none or a controller number; written by the setup
    // dialog, read with ReadShared.
    uint8_t NextController = 0;
    uint8_t PreviousController = 0;
    std::array<uint8_t, 2> Last{};  // the last value of each (next, previous), playing path
    // 1 next, 2 previous: the next controller moved on a playing input
    // becomes that setting. Set by the setup dialog's learn buttons.
    std::atomic<uint8_t> Learning{0};
};

// One step; at either end of the set list (or of the mix numbers) nothing
// happens. From a mix not in the set list, next goes to its first entry and
// previous to its last. Nothing in GM mode.
void StepMix(SystemState& s, bool next);

// Selects set-list entry `index` (< its count) as a step to it does.
void JumpToEntry(SystemState& s, uint32_t index);

// A controller from a playing input: true when it is a footswitch's (or is
// learnt as one) and so is taken, not passed to the layers. A value of 64 or
// more after one below 64 is a step.
bool FootswitchControl(SystemState& s, uint8_t controller, uint8_t value);

}  // namespace cadenzo
