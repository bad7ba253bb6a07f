// Which areas of the main window a refresh redraws.
#pragma once

#include <cstdint>

namespace cadenzo {

// Bits 0..15 are the grid rows of channels 1..16 (bit 0 = channel 1).
inline constexpr uint32_t RedrawEq12 = 1u << 16;
inline constexpr uint32_t RedrawEq34 = 1u << 17;
inline constexpr uint32_t RedrawEq56 = 1u << 18;
inline constexpr uint32_t RedrawEffects = 1u << 19;
inline constexpr uint32_t RedrawScale = 1u << 20;
inline constexpr uint32_t RedrawPortamento = 1u << 21;
inline constexpr uint32_t RedrawPitchBend = 1u << 22;
inline constexpr uint32_t RedrawAll = 0xFFFFFFFFu;

}  // namespace cadenzo
