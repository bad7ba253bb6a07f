// How the 22 activity lamps look: yellow while lit, silver when dark, and a
// port lamp in the absent colour, with the port and its device named in its
// tool tip, while the device the port follows is not there. Main thread.
#pragma once

#include <string>

#include "engine/lamps.h"
#include "services/colours.h"

namespace cadenzo {

struct SystemState;

inline constexpr Rgb kAbsentLamp{128, 0, 0};

struct LampLook {
    Rgb colour;
    std::string tip;  // empty but for an absent device
};

LampLook LookOfLamp(const SystemState& s, Lamp lamp);

}  // namespace cadenzo
