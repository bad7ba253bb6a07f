// The parameter grid's selected cell, which the engine reads as the selected
// channel (the copy source, the "Thru Sel Ch" target). Main thread only.
#pragma once

#include <array>
#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

struct GridCursor {
    uint8_t Column = 1;  // 1..28: the parameter under the cursor
    uint8_t Row = 1;     // 1..16: the channel under the cursor (SelectedGridRow)
};

// All notes off, sustain off, modulation off, a zero key pressure and a
// centred pitch bend on channel ch, in that order.
inline std::array<ShortMessage, 5> SilencingMessages(uint8_t ch) {
    return {PackShortMessage(0xB0, ch, 123, 0), PackShortMessage(0xB0, ch, 64, 0), PackShortMessage(0xB0, ch, 1, 0),
            PackShortMessage(0xA0, ch, 0, 0), PackShortMessage(0xE0, ch, 0, 64)};
}

}  // namespace cadenzo
