// Which layers of the working mix take a message from a playing input.
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

inline constexpr uint8_t kAllInputChannels = 17;

// The layer listens to channel ch (0..15) of input port 1 or 2.
constexpr bool LayerListens(const ChannelRecord& layer, uint8_t port, uint8_t ch) {
    const uint8_t assigned = port == 1 ? layer.In1Channel : port == 2 ? layer.In2Channel : 0;
    return assigned != 0 && (assigned == ch + 1 || assigned == kAllInputChannels);
}

// low <= x <= high; a zone whose high bound is below its low bound is split:
// then x < high or x >= low (high itself is outside, low inside).
constexpr bool InZone(int x, int low, int high) {
    return high < low ? (x < high || x >= low) : (low <= x && x <= high);
}

// Layer i listens to (port, ch) and is not the drum channel reserved by the
// external drum mode.
inline bool LayerReceives(const SystemState& s, int i, uint8_t port, uint8_t ch) {
    if (s.Options.UseDrumMode != 0 && s.Options.DrumOutChannel == i) return false;
    return LayerListens(s.Bank.WorkingMix.Channels[i], port, ch);
}

}  // namespace cadenzo
