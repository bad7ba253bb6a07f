// The plain RGB colours the windows show.
#pragma once

#include <cstdint>

namespace cadenzo {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kAqua{0, 255, 255};

}  // namespace cadenzo
