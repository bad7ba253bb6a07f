// The program's six ports by name, in their fixed order: the names the MIDI
// service shows for them, the monitor's device lines and the keys of the
// ports file use.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace cadenzo {

inline constexpr std::array kPortNames{"In1", "In2", "In3", "SynthOut", "ThruOut", "ControlOut"};
inline constexpr size_t kPortCount = kPortNames.size();
// One value per port, in the order of kPortNames.
template <class T>
using PerPort = std::array<T, kPortCount>;

// The place of the program's port called `name` in kPortNames, or none.
constexpr std::optional<size_t> PortIndex(std::string_view name) {
    for (size_t i = 0; i < kPortCount; ++i)
        if (name == kPortNames[i]) return i;
    return std::nullopt;
}
// The inputs come first.
inline constexpr size_t kInputPortCount = 3;
// The program's client name on the MIDI service, unless a session manager
// gives it another.
inline constexpr const char* kDefaultClientName = "Cadenzo";

}  // namespace cadenzo
