// The held-note stack of a mono layer: keys in the order pressed, the newest
// on top. Main thread only.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/performance_state.h"

namespace cadenzo {

// Pushes key t. A full stack first lets its oldest key go, so the key that
// sounds stays on top and is the one the last release silences.
inline void PushHeldNote(ChannelPerformance& p, int t) {
    if (p.HeldNoteCount == kHeldNoteSlots) {
        std::copy(p.HeldNotes.begin() + 1, p.HeldNotes.end(), p.HeldNotes.begin());
        --p.HeldNoteCount;
    }
    p.HeldNotes[p.HeldNoteCount++] = static_cast<uint8_t>(t);
}

// After the count has gone down by one for the release of key t, which was
// not the newest: closes the gap t leaves. A key that is not held (its
// note-on was refused, or it fell off a full stack) takes the oldest entry
// with it instead, so that the newest key stays on top.
inline void ForgetOlderKey(ChannelPerformance& p, int t) {
    const auto held = p.HeldNotes.begin() + p.HeldNoteCount;
    auto gap = std::find(p.HeldNotes.begin(), held, t);
    if (gap == held) gap = p.HeldNotes.begin();
    std::copy(gap + 1, held + 1, gap);
}

}  // namespace cadenzo
