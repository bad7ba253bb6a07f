// Keyboard scale and terca mode. Main thread only.
#pragma once

#include "engine/system_state.h"

namespace cadenzo {

// Shows the current terca root and scale type.
void ShowTerca(SystemState& s);

}  // namespace cadenzo
