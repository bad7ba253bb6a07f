// Steps that never wrap: a step beyond the range leaves the value alone.
#pragma once

#include <array>
#include <cstdint>

namespace cadenzo {

// Adds 1 when the value is below max; true when it changed.
inline bool StepUp(uint8_t& value, uint8_t max) {
    if (value >= max) return false;
    ++value;
    return true;
}

// Subtracts 1 when the value is above min; true when it changed.
inline bool StepDown(uint8_t& value, uint8_t min) {
    if (value <= min) return false;
    --value;
    return true;
}

// Sets every value to `to`; always counts as a change.
template <size_t N>
bool ResetAll(std::array<uint8_t, N>& values, uint8_t to) {
    values.fill(to);
    return true;
}

}  // namespace cadenzo
