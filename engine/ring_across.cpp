#include "engine/ring_across.h"

#include <bit>

#include "engine/layers.h"
#include "engine/system_state.h"
#include "engine/output.h"
#include "engine/pedals.h"

namespace cadenzo {

namespace {

using Routing = std::array<uint8_t, kShadowBytes>;

bool Listens(const Routing& layer, uint8_t port, uint8_t ch) {
    ChannelRecord record{};
    record.In1Channel = layer[ShadowIn1Channel];
    record.In2Channel = layer[ShadowIn2Channel];
    return LayerListens(record, port, ch);
}

bool Carries(const RingAcrossState& r, int c) { return (r.Carrying >> c & 1) != 0; }

// Carrying ends once no key and no pedal is owed a release any more.
void EndCarryingWhenDone(RingAcrossState& r) {
    if (r.CarriedKeys == 0 && r.Pedals[0] == 0 && r.Pedals[1] == 0) r.Carrying = 0;
}

// Marks layer c as changed under every key held now; true when one of them
// (or a held pedal) keeps a note of the layer's former routing.
bool MarkHeld(SystemState& s, int c, const Routing& before) {
    RingAcrossState& r = s.RingAcross;
    const bool playable = before[ShadowMD] == 0 && before[ShadowTrc] == 0;
    bool sounding = false;
    for (uint8_t port = 1; port <= 2; ++port) {
        const HeldKeys& input = s.Ports.Inputs[port - 1].Held;
        for (uint8_t ch = 0; ch < kChannels; ++ch) {
            const bool listened = playable && Listens(before, port, ch);
            auto& changed = r.ChangedUnderKey[(port - 1) * kChannels + ch];
            for (unsigned half = 0; half < 2; ++half) {
                for (uint64_t held = input.KeysHeld(ch, half); held != 0; held &= held - 1) {
                    const int note = static_cast<int>(64 * half) + std::countr_zero(held);
                    r.CarriedKeys += changed[note] == 0;
                    changed[note] |= static_cast<uint16_t>(1u << c);
                    sounding |= listened && InZone(note, before[ShadowKL], before[ShadowKH]);
                }
            }
            if (listened && PedalKeepsNotes(s, port, ch, c)) {
                r.Pedals[port - 1] |= static_cast<uint16_t>(1u << ch);
                sounding = true;
            }
        }
    }
    return sounding;
}

}  // namespace

bool CarryAcrossChange(SystemState& s, int c, const Routing& before) {
    RingAcrossState& r = s.RingAcross;
    if (ReadShared(r.Enabled) == 0) return false;
    const bool again = Carries(r, c);
    r.Carrying &= static_cast<uint16_t>(~(1u << c));
    if (!MarkHeld(s, c, before) || again) {
        EndCarryingWhenDone(r);
        return false;
    }
    r.Layers[c] = before;
    r.Carrying |= static_cast<uint16_t>(1u << c);
    return true;
}

uint16_t CarriedNoteOff(SystemState& s, uint8_t port, uint8_t ch, uint8_t note, uint8_t velocity) {
    RingAcrossState& r = s.RingAcross;
    if (port < 1 || port > 2 || r.CarriedKeys == 0) return 0;
    uint16_t& changed = r.ChangedUnderKey[(port - 1) * kChannels + ch][note & 0x7F];
    const uint16_t skip = changed;
    if (skip == 0) return 0;
    changed = 0;
    --r.CarriedKeys;
    for (int c = 0; c < kChannels; ++c) {
        const Routing& layer = r.Layers[c];
        if (!(skip >> c & 1) || !Carries(r, c) || !Listens(layer, port, ch) ||
            !InZone(note, layer[ShadowKL], layer[ShadowKH]))
            continue;
        const uint8_t out = TransposeNote(note, layer[ShadowTrs], s.Performance.MasterTranspose);
        SendToSynth(s, PackShortMessage(0x80, static_cast<uint32_t>(c), out, velocity));
    }
    EndCarryingWhenDone(r);
    return skip;
}

void CarriedPedalRelease(SystemState& s, uint8_t port, uint8_t ch) {
    RingAcrossState& r = s.RingAcross;
    if (port < 1 || port > 2 || !(r.Pedals[port - 1] >> ch & 1) || PedalHeldAt(s, port, ch)) return;
    r.Pedals[port - 1] &= static_cast<uint16_t>(~(1u << ch));
    EndCarryingWhenDone(r);
}

}  // namespace cadenzo
