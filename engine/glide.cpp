#include "engine/glide.h"

#include <algorithm>

#include "engine/bend.h"

namespace cadenzo {

GlideSet GlideStepped(GlideSet g) {
    const int step = std::max<int>(g.GlideStep, 1);
    const int next = g.GlideUp ? std::min(g.GlideCurrent + step, static_cast<int>(g.GlideTarget))
                               : std::max(g.GlideCurrent - step, static_cast<int>(g.GlideTarget));
    g.GlideCurrent = static_cast<int16_t>(next);
    return g;
}

namespace {

void TickChannel(SystemState& s, int c) {
    ChannelPerformance& p = s.Performance.Channels[c];
    bool changed = false;
    GlideSet seen = p.Glide.load(std::memory_order_acquire);
    if (seen.GlideCurrent != seen.GlideTarget) {
        // A failed exchange means a note event stored a newer set; it stays,
        // and the bend below is composed from it.
        p.Glide.compare_exchange_strong(seen, GlideStepped(seen), std::memory_order_acq_rel,
                                        std::memory_order_acquire);
        changed = true;
    }
    if (p.BendDirty.exchange(false, std::memory_order_acq_rel)) changed = true;
    if (!changed) return;
    const uint32_t before = p.BendSequence.load(std::memory_order_acquire);
    SendLayerBend(s, c);
    // A note event sent its own bend meanwhile and ours may have overtaken
    // it: send the composed bend again at the next tick.
    if (p.BendSequence.load(std::memory_order_acquire) != before) p.BendDirty.store(true, std::memory_order_release);
}

}  // namespace

void GlideTick(void* user) {
    auto& s = *static_cast<SystemState*>(user);
    for (int c = 0; c < kChannels; ++c) TickChannel(s, c);
}

bool GlideResting(void* user) {
    const auto& s = *static_cast<const SystemState*>(user);
    for (const ChannelPerformance& p : s.Performance.Channels) {
        const GlideSet g = p.Glide.load(std::memory_order_acquire);
        if (g.GlideCurrent != g.GlideTarget || p.BendDirty.load(std::memory_order_acquire)) return false;
    }
    return true;
}

}  // namespace cadenzo
