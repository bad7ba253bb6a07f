// Per-channel performance state of the layers: what note routing, the
// dispatcher and the glide tick share.
#pragma once

namespace cadenzo {

struct PerformanceState {};

}  // namespace cadenzo
