// The copy manager: the working mix stored under ProgramCopyTarget, and the
// channel under the grid cursor copied onto ChannelCopyTarget. Both are
// refused in GM mode. Main thread only.
#pragma once

#include "engine/system_state.h"

namespace cadenzo {

// Stores the working mix as program ProgramCopyTarget, which becomes the
// current program. The key that runs it transmits and redraws once.
void ProgramCopy(SystemState& s);

// Copies every parameter but "Trc" of the grid cursor's channel onto
// ChannelCopyTarget and marks the mix modified. The key that runs it
// transmits and redraws once.
void ChannelCopy(SystemState& s);

}  // namespace cadenzo
