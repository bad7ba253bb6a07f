// What the main window's key handlers keep between key events. Main thread only.
#pragma once

#include <cstdint>

namespace cadenzo {

inline constexpr uint32_t kShiftHeld = 1;  // bit 0 of ModifierState
inline constexpr uint32_t kCtrlHeld = 2;   // bit 1 of ModifierState

struct KeyboardState {
    // 0 none, 1 Shift, 2 Ctrl, 3 both; follows the Shift and Ctrl keys' own
    // key-down and key-up events only.
    uint32_t ModifierState = 0;
};

}  // namespace cadenzo
