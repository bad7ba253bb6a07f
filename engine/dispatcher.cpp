#include "engine/dispatcher.h"

namespace cadenzo {

void DispatchInput(SystemState&, uint32_t) {}

void ProcessInputEntry(SystemState&, uint32_t) {}

}  // namespace cadenzo
