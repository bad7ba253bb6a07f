#include "engine/remote_control.h"

namespace cadenzo {

void ProgramSelect(SystemState&, uint8_t, uint8_t, uint8_t) {}

void MasterVolumeControl(SystemState&, uint8_t, uint8_t, uint8_t) {}

}  // namespace cadenzo
