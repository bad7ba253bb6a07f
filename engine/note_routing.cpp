#include "engine/note_routing.h"

#include <algorithm>

#include "engine/bend.h"
#include "engine/layer_notes.h"
#include "engine/layers.h"
#include "engine/mono_modes.h"
#include "engine/terca.h"

namespace cadenzo {

namespace {

constexpr uint8_t kMaxVelocity = 127;

// Dyn 0 keeps the played velocity; 1..127 fixes it (a larger byte, only in a
// file written elsewhere, counts as 127 so that no status byte is sent).
uint8_t LayerVelocity(const ChannelRecord& layer, uint8_t played) {
    return layer.Dyn == 0 ? played : std::min(layer.Dyn, kMaxVelocity);
}

}  // namespace

void NoteOnRouting(SystemState& s, uint8_t port, uint8_t ch, uint8_t note, uint8_t velocity) {
    const Mix& mix = s.Bank.WorkingMix;
    for (int i = 0; i < kChannels; ++i) {
        if (!LayerReceives(s, i, port, ch)) continue;
        const ChannelRecord& layer = mix.Channels[i];
        if (!InZone(note, layer.KL, layer.KH) || !InZone(velocity, layer.VL, layer.VH)) continue;
        ChannelPerformance& p = s.Performance.Channels[i];
        const uint8_t v = LayerVelocity(layer, velocity);
        p.LastVelocity = v;
        const int t = TercaNote(s, i, note);
        p.ScaleOffset.store(ScaleOffsetFor(mix, layer, t), std::memory_order_relaxed);
        if (LayerVoiceMode(layer.MD) != kPoly) {
            MonoNoteOn(s, i, t, v);
            continue;
        }
        if (layer.Scl != 0) SendNoteEventBend(s, i);
        SendLayerNote(s, i, 0x90, t, v);
    }
}

void NoteOffRouting(SystemState& s, uint8_t port, uint8_t ch, uint8_t note, uint8_t releaseVelocity,
                    uint16_t skipLayers) {
    const Mix& mix = s.Bank.WorkingMix;
    for (int i = 0; i < kChannels; ++i) {
        if ((skipLayers >> i & 1) || !LayerReceives(s, i, port, ch)) continue;
        const ChannelRecord& layer = mix.Channels[i];
        if (!InZone(note, layer.KL, layer.KH)) continue;
        const int t = TercaNote(s, i, note);
        if (LayerVoiceMode(layer.MD) != kPoly)
            MonoNoteOff(s, i, t);
        else
            SendLayerNote(s, i, 0x80, t, releaseVelocity);
    }
}

}  // namespace cadenzo
