#include "engine/transmission.h"

namespace cadenzo {

void SendOutputMix(SystemState&) {}
void TransmitMix(SystemState&) {}
void SendMasterVolume(SystemState&) {}
void ApplyMasterTranspose(SystemState&) {}

}  // namespace cadenzo
