// What the zone map shows: the 16 layers of the mix over an 88-key keyboard,
// each layer's key zone as one bar (a split zone as two), with its velocity
// zone, transposition and sound named, in the layer's colour, and the keys
// held now on the layers they reach. Main thread, holding the engine lock.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "bank/mix_records.h"
#include "services/colours.h"

namespace cadenzo {

struct SystemState;

inline constexpr int kLowestKey = 21;   // A0
inline constexpr int kHighestKey = 108; // C8

// Keys low..high, inclusive.
struct KeyRange {
    uint8_t low = 0, high = 0;
    bool operator==(const KeyRange&) const = default;
};

struct ZoneRow {
    int parts = 0;                    // 0: the layer plays nothing; 2: a split zone
    std::array<KeyRange, 2> zone{};   // within the 88 keys
    std::string text;                 // what the row says beside or on its bars
    Rgb colour{};
    std::bitset<128> sounding;        // keys held now whose note and velocity this layer took
    bool operator==(const ZoneRow&) const = default;
};

using ZoneMap = std::array<ZoneRow, kChannels>;

// The rows of layers 1..16 as the mix and the held keys are now. In GM mode
// and on the external drum channel no row has bars; their texts say why.
ZoneMap ZoneMapRows(const SystemState& s);

// The colour of layer c (0..15).
Rgb LayerColour(int c);

}  // namespace cadenzo
