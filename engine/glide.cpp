#include "engine/glide.h"

namespace cadenzo {

void GlideTick(void*) {}

}  // namespace cadenzo
