#include "engine/bend.h"

#include "engine/output.h"

namespace cadenzo {

int32_t LayerBend(const SystemState& s, int c) {
    const ChannelPerformance& p = s.Performance.Channels[c];
    const int32_t range = EffectiveBendRange(ReadShared(s.Bank.WorkingMix.BendRange));
    return p.WheelBend.load(std::memory_order_relaxed) + p.Glide.load(std::memory_order_acquire).GlideCurrent +
           p.ScaleOffset.load(std::memory_order_relaxed) - range * kSemitone - kNeutralScaleOffset;
}

void SendLayerBend(SystemState& s, int c) { SendToSynth(s, PackPitchBend(static_cast<uint32_t>(c), LayerBend(s, c))); }

void SendNoteEventBend(SystemState& s, int c) {
    PublishBendTerms(s.Performance.Channels[c]);
    SendLayerBend(s, c);
}

}  // namespace cadenzo
