// Device numbers as the options hold them, from the names the MIDI service
// lists: 1 for the first device listed, 0 for none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cadenzo {

// The number of the device called `name` in `names`, or 0 when the name is
// empty or not listed.
inline uint32_t ListedDeviceNumber(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (!name.empty() && names[i] == name) return static_cast<uint32_t>(i + 1);
    return 0;
}

}  // namespace cadenzo
