#include "engine/terca.h"

namespace cadenzo {

void ShowTerca(SystemState&) {}

}  // namespace cadenzo
