// The current terca scale and the terci scan that sets it. Not stored; lost
// at exit. Main thread only.
#pragma once

#include <cstdint>

namespace cadenzo {

inline constexpr uint8_t kTercScanIdle = 3;  // TercScanCount when no scan runs

struct TercaState {
    uint8_t TercRoot = 0;                    // root pitch class 0..11 (C)
    uint8_t TercScaleType = 0;               // scale type 0..3 ("nat dur")
    uint8_t TercScanCount = kTercScanIdle;   // notes taken by the running scan, 0..2
    uint32_t TercPitchSet = 0;               // bit p for each pitch class the scan took
};

}  // namespace cadenzo
