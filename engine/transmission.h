// Sending the working mix, the master volume and the master transposition
// to the synthesiser and the DSP control port. Main thread only.
#pragma once

#include "engine/system_state.h"

namespace cadenzo {

void SendOutputMix(SystemState& s);
void TransmitMix(SystemState& s);
void SendMasterVolume(SystemState& s);
void ApplyMasterTranspose(SystemState& s);

}  // namespace cadenzo
