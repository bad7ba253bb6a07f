#include "engine/gm_drum_paths.h"

namespace cadenzo {

void GmPassThrough(SystemState&, uint32_t) {}

void ExternalDrumPath(SystemState&, uint8_t, uint8_t, uint8_t, uint8_t) {}

}  // namespace cadenzo
