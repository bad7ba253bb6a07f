// Short names for the messages engine tests play and expect, and the layer
// set-up they share.
#pragma once

#include <cstdint>
#include <vector>

#include "bank/mix_records.h"
#include "midi/short_message.h"

namespace cadenzo::test {

using Messages = std::vector<ShortMessage>;

inline ShortMessage On(int ch, int note, int velocity) {
    return PackShortMessage(0x90, static_cast<uint32_t>(ch), static_cast<uint32_t>(note), static_cast<uint32_t>(velocity));
}
inline ShortMessage Off(int ch, int note, int velocity = 0) {
    return PackShortMessage(0x80, static_cast<uint32_t>(ch), static_cast<uint32_t>(note), static_cast<uint32_t>(velocity));
}
inline ShortMessage Cc(int ch, int controller, int value) {
    return PackShortMessage(0xB0, static_cast<uint32_t>(ch), static_cast<uint32_t>(controller), static_cast<uint32_t>(value));
}
inline ShortMessage Bend(int ch, int value) { return PackPitchBend(static_cast<uint32_t>(ch), value); }

// Makes a layer listen to channel `in1` (1..16, 17 every channel) of In1.
inline ChannelRecord& Listen(ChannelRecord& layer, uint8_t in1) {
    layer.In1Channel = in1;
    return layer;
}

}  // namespace cadenzo::test
