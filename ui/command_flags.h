// What a key command (or an edit made like one) asks for once it has run,
// and the common end of every such edit. Main thread, holding the engine lock.
#pragma once

#include <cstdint>

#include "services/redraw_mask.h"

namespace cadenzo {

struct SystemState;

struct CommandFlags {
    bool transmit = false;  // T: send the mix again and refresh
    bool modified = false;  // M: the working mix was edited (ignored in GM mode)
    uint32_t mask = RedrawAll;
};

// Marks the mix modified (the edit goes into its undo history), transmits and refreshes with the mask, as the
// flags ask.
void FinishCommand(SystemState& s, const CommandFlags& flags);

}  // namespace cadenzo
