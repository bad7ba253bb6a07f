#include "engine/pedals.h"

#include <bit>

#include "engine/layers.h"
#include "engine/output.h"
#include "engine/system_state.h"
#include "midi/key_bits.h"

namespace cadenzo {

namespace {

// The pedals that keep notes (every one but the soft pedal), as a pedal mask.
constexpr uint8_t KeepingPedals() {
    uint8_t mask = 0;
    for (size_t k = 0; k < kHeldPedals.size(); ++k)
        if (kHeldPedals[k] != kSoftPedal) mask = static_cast<uint8_t>(mask | 1u << k);
    return mask;
}

const std::array<uint16_t, kHeldPedals.size()>& ReachedFrom(const SystemState& s, uint8_t port, uint8_t ch) {
    return s.Performance.Pedals.Reached[(port - 1) * kChannels + ch];
}

void SendRelease(SystemState& s, int c, int pedal) {
    SendToSynth(s, PackShortMessage(0xB0, static_cast<uint32_t>(c), kHeldPedals[pedal], 0));
}

}  // namespace

void NotePedalSent(PedalState& p, ShortMessage m) {
    const UnpackedMessage u = UnpackShortMessage(m);
    if (u.command != 0xB0) return;
    const int pedal = HeldPedalIndex(u.data1);
    if (pedal < 0) return;
    const auto bit = static_cast<uint8_t>(1u << pedal);
    uint8_t& down = p.Down[u.channel];
    down = static_cast<uint8_t>(u.data2 >= kPedalDown ? down | bit : down & ~bit);
}

void ReleaseHeldPedals(SystemState& s, int c) {
    for (uint8_t held = s.Performance.Pedals.Down[c]; held != 0; held &= held - 1)
        SendRelease(s, c, std::countr_zero(held));
}

void PlayerPedal(SystemState& s, uint8_t port, uint8_t ch, uint8_t controller, uint8_t value) {
    const int pedal = HeldPedalIndex(controller);
    if (pedal < 0 || port < 1 || port > 2 || ch >= kChannels) return;
    PedalState& p = s.Performance.Pedals;
    auto& reached = p.Reached[(port - 1) * kChannels + ch][pedal];
    if (value >= kPedalDown) {
        for (int c = 0; c < kChannels; ++c)
            if (LayerReceives(s, c, port, ch)) reached |= static_cast<uint16_t>(1u << c);
        return;
    }
    for (uint16_t left = reached; left != 0; left &= left - 1) {
        const int c = std::countr_zero(left);
        if ((p.Down[c] >> pedal & 1) && !LayerReceives(s, c, port, ch)) SendRelease(s, c, pedal);
    }
    reached = 0;
}

bool HoldsNotes(uint8_t controller) {
    const int pedal = HeldPedalIndex(controller);
    return pedal >= 0 && (KeepingPedals() >> pedal & 1) != 0;
}

bool PedalKeepsNotes(const SystemState& s, uint8_t port, uint8_t ch, int c) {
    const auto& reached = ReachedFrom(s, port, ch);
    const uint8_t down = s.Performance.Pedals.Down[c] & KeepingPedals();
    for (size_t k = 0; k < reached.size(); ++k)
        if ((down >> k & 1) && (reached[k] >> c & 1)) return true;
    return false;
}

bool PedalHeldAt(const SystemState& s, uint8_t port, uint8_t ch) {
    const auto& reached = ReachedFrom(s, port, ch);
    for (size_t k = 0; k < reached.size(); ++k)
        if ((KeepingPedals() >> k & 1) && reached[k] != 0) return true;
    return false;
}

}  // namespace cadenzo
