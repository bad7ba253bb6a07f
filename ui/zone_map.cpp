#include "ui/zone_map.h"

#include <algorithm>

#include "engine/layers.h"
#include "engine/system_state.h"
#include "ui/gm_sounds.h"
#include "ui/text_format.h"

namespace cadenzo {

namespace {

// Sixteen hues that stay apart side by side, each dark enough for white text.
constexpr std::array<Rgb, kChannels> kLayerColours{{
    {31, 119, 180}, {214, 39, 40},  {44, 160, 44},  {148, 103, 189}, {255, 127, 14}, {23, 190, 207},
    {140, 86, 75},  {227, 119, 194}, {127, 127, 127}, {188, 189, 34}, {57, 59, 121},  {132, 60, 57},
    {99, 121, 57},  {123, 65, 115},  {0, 128, 128},  {204, 102, 0},
}};

// The part of low..high on the 88 keys; false when none of it is.
bool OnKeyboard(int low, int high, KeyRange& range) {
    low = std::max(low, kLowestKey);
    high = std::min(high, kHighestKey);
    if (low > high) return false;
    range = {static_cast<uint8_t>(low), static_cast<uint8_t>(high)};
    return true;
}

void PlaceZone(ZoneRow& row, uint8_t low, uint8_t high) {
    const auto add = [&row](int from, int to) {
        if (OnKeyboard(from, to, row.zone[row.parts])) ++row.parts;
    };
    if (high >= low) {
        add(low, high);
        return;
    }
    add(0, high - 1);  // a split zone: below the high bound and from the low bound up
    add(low, 127);
}

std::string LayerText(const ChannelRecord& r) {
    std::string text = Printf("PG %u ", unsigned{r.PG}) + GmInstrumentName(r.PG);
    text += Printf("  Vel %u-%u", unsigned{r.VL}, unsigned{r.VH});
    if (r.Trs != 64) text += Printf("  Trs %+d", r.Trs - 64);
    return text;
}

void MarkSounding(const SystemState& s, int c, ZoneRow& row) {
    const ChannelRecord& r = s.Bank.WorkingMix.Channels[c];
    for (uint8_t port = 1; port <= 2; ++port) {
        const HeldKeys& held = s.Ports.Inputs[port - 1].Held;
        for (uint8_t ch = 0; ch < kChannels; ++ch) {
            if (!LayerReceives(s, c, port, ch)) continue;
            for (unsigned note = kLowestKey; note <= kHighestKey; ++note) {
                if (InZone(static_cast<int>(note), r.KL, r.KH) && held.KeyHeld(ch, note) &&
                    InZone(held.Velocity(ch, note), r.VL, r.VH))
                    row.sounding.set(note);
            }
        }
    }
}

}  // namespace

Rgb LayerColour(int c) { return kLayerColours[c]; }

ZoneMap ZoneMapRows(const SystemState& s) {
    ZoneMap map;
    const bool gm = s.Bank.GmMode.load(std::memory_order_relaxed);
    for (int c = 0; c < kChannels; ++c) {
        ZoneRow& row = map[c];
        row.colour = LayerColour(c);
        const ChannelRecord& r = s.Bank.WorkingMix.Channels[c];
        if (gm) {
            row.text = "GM Mode";
        } else if (s.Options.UseDrumMode != 0 && c == s.Options.DrumOutChannel) {
            row.text = "E/D: external drums";
        } else if (r.In1Channel != 0 || r.In2Channel != 0) {
            PlaceZone(row, r.KL, r.KH);
            row.text = LayerText(r);
            MarkSounding(s, c, row);
        }
    }
    return map;
}

}  // namespace cadenzo
