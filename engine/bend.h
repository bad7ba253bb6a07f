// The terms of a channel's composed pitch bend and the bend it sends. At the
// synthesiser's 16-semitone sensitivity 512 units are one semitone and 8192
// is the struck note's own pitch.
#pragma once

#include <array>
#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// Divisors that scale a 14-bit wheel value to BendRange semitones, indexed by
// BendRange. They are the stored constants, not 16 / range.
inline constexpr std::array<float, 13> BendDivisor = {1.0f, 16.0f, 8.0f, 5.33f, 4.0f,  3.2f, 2.66f,
                                                      2.2857f, 2.0f, 1.77f, 1.6f, 1.45f, 1.33f};

// BendRange as the bend arithmetic uses it. The mix keeps 1..12; a value
// outside (only a file written elsewhere holds one) counts as the nearest
// end, so the centred wheel stays at the note's pitch and no table is
// indexed out of range.
constexpr uint8_t EffectiveBendRange(uint8_t bendRange) {
    return bendRange < 1 ? 1 : bendRange > 12 ? 12 : bendRange;
}

// A wheel position scaled to the bend range: the quotient is taken in double
// precision from the 32-bit divisor and cut toward zero (8192 at range 5
// gives 2559, where a float quotient would round to 2560).
inline int32_t ScaledWheel(uint32_t position, uint8_t bendRange) {
    return static_cast<int32_t>(static_cast<double>(position) /
                                static_cast<double>(BendDivisor[EffectiveBendRange(bendRange)]));
}

// ScaleOffset of a layer playing note t: eight units per step of the mix's
// detune of t's pitch class when the layer's scale is on, else neutral.
inline int32_t ScaleOffsetFor(const Mix& mix, const ChannelRecord& layer, int t) {
    return layer.Scl != 0 ? mix.KeyboardScale[t % kScaleNotes] * 8 : kNeutralScaleOffset;
}

// WheelBend + GlideCurrent + ScaleOffset - 512 x BendRange - 512 of channel
// c (unclamped). Any thread.
int32_t LayerBend(const SystemState& s, int c);

// Sends LayerBend of channel c as a pitch bend on c. Any thread.
void SendLayerBend(SystemState& s, int c);

// Main thread: a note event that has written its bend terms of channel c
// publishes them to the glide tick (BendSequence), then sends the bend.
void SendNoteEventBend(SystemState& s, int c);

}  // namespace cadenzo
