// The program's six ports by name, in their fixed order: the names the MIDI
// service shows for them, the monitor's device lines and the keys of the
// ports file use.
#pragma once

#include <array>
#include <cstddef>

namespace cadenzo {

inline constexpr std::array<const char*, 6> kPortNames{"In1", "In2", "In3", "SynthOut", "ThruOut", "ControlOut"};
// The inputs come first.
inline constexpr size_t kInputPortCount = 3;
// The program's client name on the MIDI service, unless a session manager
// gives it another.
inline constexpr const char* kDefaultClientName = "Cadenzo";

}  // namespace cadenzo
