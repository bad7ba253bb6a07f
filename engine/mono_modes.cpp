#include "engine/mono_modes.h"

#include <algorithm>
#include <cstdlib>

#include "engine/bend.h"
#include "engine/held_notes.h"
#include "engine/layer_notes.h"

namespace cadenzo {

namespace {

constexpr int kLegatoLimit = 14;  // semitones a later key may move the sounding note

// The glide position of key t heard against the phrase's BaseNote.
int GlideTargetFor(int t, int baseNote) {
    const int n = std::min(std::abs(t - baseNote), kLegatoLimit);
    return kBendCentre + (t >= baseNote ? n : -n) * kSemitone;
}

GlideSet JumpTo(GlideSet g, int position) {
    g.GlideCurrent = g.GlideTarget = static_cast<int16_t>(position);
    return g;
}

// A slide from where the channel is now, one step per glide tick. A distance
// shorter than PortaSpeed moves one unit per tick, so every slide ends.
GlideSet SlideTo(GlideSet g, int target, uint8_t portaSpeed) {
    const int distance = std::abs(target - g.GlideCurrent);
    const int step = distance / std::max<int>(portaSpeed, 1);
    g.GlideTarget = static_cast<int16_t>(target);
    g.GlideUp = g.GlideCurrent <= target ? 1 : 0;
    g.GlideStep = static_cast<uint16_t>(step == 0 && distance > 0 ? 1 : step);
    return g;
}

// "ML" and "MP": the sounding BaseNote is bent towards key t.
void BendToKey(SystemState& s, int i, VoiceMode mode, int t) {
    ChannelPerformance& p = s.Performance.Channels[i];
    const int target = GlideTargetFor(t, p.BaseNote);
    if (mode == kLegato) {
        UpdateGlide(p, [target](GlideSet g) { return JumpTo(g, target); });
        SendNoteEventBend(s, i);
    } else {
        const uint8_t speed = s.Bank.WorkingMix.PortaSpeed;
        UpdateGlide(p, [target, speed](GlideSet g) { return SlideTo(g, target, speed); });
        WantGlideTick(s.Performance);
    }
}

}  // namespace

void MonoNoteOn(SystemState& s, int i, int t, uint8_t v) {
    ChannelPerformance& p = s.Performance.Channels[i];
    const ChannelRecord& layer = s.Bank.WorkingMix.Channels[i];
    const VoiceMode mode = LayerVoiceMode(layer.MD);
    if (p.HeldNoteCount == 0) {
        UpdateGlide(p, [](GlideSet g) { return JumpTo(g, kBendCentre); });
        if (mode != kMono || layer.Scl != 0) SendNoteEventBend(s, i);
        SendLayerNote(s, i, 0x90, t, v);
        p.BaseNote = static_cast<uint8_t>(t);
    } else if (mode == kMono) {
        SendLayerNote(s, i, 0x80, p.HeldNotes[p.HeldNoteCount - 1], 0);
        if (layer.Scl != 0) SendNoteEventBend(s, i);
        SendLayerNote(s, i, 0x90, t, v);
    } else {
        BendToKey(s, i, mode, t);
    }
    PushHeldNote(p, t);
}

void MonoNoteOff(SystemState& s, int i, int t) {
    ChannelPerformance& p = s.Performance.Channels[i];
    const Mix& mix = s.Bank.WorkingMix;
    const ChannelRecord& layer = mix.Channels[i];
    const VoiceMode mode = LayerVoiceMode(layer.MD);
    if (p.HeldNoteCount > 0) --p.HeldNoteCount;
    const int h = p.HeldNoteCount;
    if (h == 0) {
        SendLayerNote(s, i, 0x80, mode == kMono ? p.HeldNotes[0] : p.BaseNote, 0);
        return;
    }
    if (p.HeldNotes[h] != t) {
        ForgetOlderKey(p, t);
        return;
    }
    // The newest key was released: the one below it sounds again.
    const int back = p.HeldNotes[h - 1];
    p.ScaleOffset.store(ScaleOffsetFor(mix, layer, back), std::memory_order_relaxed);
    if (mode == kMono) {
        SendLayerNote(s, i, 0x80, t, 0);
        UpdateGlide(p, [](GlideSet g) { return JumpTo(g, kBendCentre); });
        if (layer.Scl != 0) SendNoteEventBend(s, i);
        SendLayerNote(s, i, 0x90, back, p.LastVelocity);
    } else {
        BendToKey(s, i, mode, back);
    }
}

}  // namespace cadenzo
