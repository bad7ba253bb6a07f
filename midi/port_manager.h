// MIDI device lists and the six ports. Main thread only.
#pragma once

#include "engine/system_state.h"

namespace cadenzo {

void EnumerateMidiDevices(SystemState& s);
void FreeDeviceLists(SystemState& s);
void OpenAllPorts(SystemState& s);
void CloseAllPorts(SystemState& s);

}  // namespace cadenzo
