// The options' port and channel filters for remote control and the terci scan.
#pragma once

#include <cstdint>

namespace cadenzo {

// Port filter: 0 disabled, 1 In1 only, 2 In2 only, 3 (or more) both.
constexpr bool PortPasses(uint8_t filter, uint8_t port) { return filter != 0 && (filter == port || filter >= 3); }

// Channel filter: 0..15 that channel, 16 (or more) every channel.
constexpr bool ChannelPasses(uint8_t filter, uint8_t ch) { return filter == ch || filter >= 16; }

}  // namespace cadenzo
