// The terca scale types: their names, the interval each pitch class moves up
// by, and the three-note chord that selects each root and type in a scan.
#pragma once

#include <array>
#include <cstdint>

namespace cadenzo {

inline constexpr int kTercScaleTypes = 4;
inline constexpr int kPitchClasses = 12;

inline constexpr std::array<const char*, kTercScaleTypes> kTercScaleNames = {"nat dur", "hidjas", "harm moll",
                                                                            "harm moll low"};
inline constexpr std::array<const char*, kPitchClasses> kTercRootNames = {"C ", "C#", "D ", "D#", "E ", "F ",
                                                                         "F#", "G ", "G#", "A ", "A#", "H "};

// Semitones up from a note whose pitch class lies d above the root, per type.
inline constexpr std::array<std::array<uint8_t, kPitchClasses>, kTercScaleTypes> TercIntervalTable = {{
    {4, 4, 3, 4, 3, 4, 4, 4, 4, 3, 4, 3},  // nat dur
    {4, 4, 3, 4, 3, 3, 4, 3, 4, 3, 3, 4},  // hidjas
    {3, 4, 3, 4, 4, 3, 4, 3, 4, 4, 4, 3},  // harm moll
    {8, 9, 9, 9, 8, 9, 8, 8, 9, 8, 9, 8},  // harm moll low
}};

// One entry per (type, root), searched in type-major order: the pitch-class
// set {root, root + third, root + seventh} as bits.
struct TercChord {
    uint8_t Type;
    uint8_t Root;
    uint32_t PitchSet;
};

inline constexpr std::array<TercChord, kTercScaleTypes * kPitchClasses> TercChordTable = [] {
    constexpr std::array<int, kTercScaleTypes> third = {4, 4, 3, 3};
    constexpr std::array<int, kTercScaleTypes> seventh = {11, 10, 11, 10};
    std::array<TercChord, kTercScaleTypes * kPitchClasses> table{};
    for (int t = 0; t < kTercScaleTypes; ++t) {
        for (int r = 0; r < kPitchClasses; ++r) {
            const uint32_t set = 1u << r | 1u << (r + third[t]) % kPitchClasses |
                                 1u << (r + seventh[t]) % kPitchClasses;
            table[t * kPitchClasses + r] = {static_cast<uint8_t>(t), static_cast<uint8_t>(r), set};
        }
    }
    return table;
}();

}  // namespace cadenzo
