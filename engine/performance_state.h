// Per-channel performance state of the layers: what note routing, the
// dispatcher and the glide tick share, plus the master transposition that
// every routed note carries.
//
// Threads. Whoever holds the engine lock (an input callback, the MIDI
// engine thread or the window thread: dispatcher, note routing,
// transmission) writes everything here; the glide tick on the timer thread
// reads WheelBend, ScaleOffset, the glide set and BendSequence, clears
// BendDirty and moves GlideCurrent. The held-note stack, BaseNote,
// LastVelocity and MasterTranspose are used only with the engine lock held.
// The rules:
//
//  1. Value before dirty flag. The main thread stores WheelBend (relaxed),
//     then sets BendDirty (release). The tick takes the flag with
//     exchange(false, acq_rel) before it composes the bend, so a wheel change
//     made during a tick is sent by that tick or the next, never lost.
//
//  2. One consistent glide set. GlideCurrent, GlideTarget, GlideStep and
//     GlideUp live together in one lock-free 64-bit word (`Glide`), so a
//     reader always sees the four values of a single write. Positions lie in
//     1024..15360 and a step is at most 14336, so 16 bits hold each.
//
//  3. The tick never overwrites a newer GlideCurrent. The tick moves the set
//     with Glide.compare_exchange_strong(seen, moved): if a note event stored
//     a new set since the tick loaded `seen`, the exchange fails and the
//     event's set stays. The main thread changes the set with UpdateGlide, a
//     compare-and-swap loop, so it always starts from the tick's latest move.
//
//  4. Late tick bends are repaired. A note event that sends a bend first
//     writes ScaleOffset and the glide set, then advances BendSequence
//     (release), then sends its bend. The tick loads BendSequence (acquire)
//     before it composes a bend and again after sending it; if the number
//     moved, an event may have sent its bend before the tick's older one
//     reached the port, so the tick sets BendDirty and the next tick sends
//     the composed bend again.
//
// The bend range term is the working mix's BendRange byte, which the tick
// reads with ReadShared (see LayerBend).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "bank/mix_records.h"
#include "midi/key_bits.h"
#include "midi/thread_wake.h"

namespace cadenzo {

inline constexpr int32_t kBendCentre = 8192;    // the struck note's own pitch
inline constexpr int32_t kSemitone = 512;       // bend units per semitone at 16 semitones
inline constexpr int32_t kNeutralScaleOffset = 512;
inline constexpr int kHeldNoteSlots = 64;
// The pedals whose presses the program follows to their channels are the
// held pedals (midi/key_bits.h); bit k of a pedal mask stands for the k-th.

// The legato/portamento position of one channel, written as a whole.
struct alignas(8) GlideSet {
    int16_t GlideCurrent = kBendCentre;  // current position; 8192 = the sounding note
    int16_t GlideTarget = kBendCentre;   // position the portamento moves to
    uint16_t GlideStep = 0;              // units per glide tick
    uint8_t GlideUp = 0;                 // 1 = the portamento moves upward
    uint8_t Reserved = 0;                // always 0, so equal sets compare equal
    bool operator==(const GlideSet&) const = default;
};
static_assert(sizeof(GlideSet) == 8);
static_assert(std::atomic<GlideSet>::is_always_lock_free);

// The state of the layer on one synthesiser channel.
struct ChannelPerformance {
    std::atomic<int32_t> WheelBend{1024};    // wheel or pressure term, scaled to 16 semitones
    std::atomic<bool> BendDirty{false};      // WheelBend changed; cleared by the tick once sent
    std::atomic<GlideSet> Glide{GlideSet{}};
    std::atomic<int32_t> ScaleOffset{kNeutralScaleOffset};  // keyboard-scale term, 512 = none
    std::atomic<uint32_t> BendSequence{0};   // advanced by every note event that sends a bend

    // With the engine lock held only: the mono modes' memory.
    uint8_t HeldNoteCount = 0;                       // keys held, 0..64
    std::array<uint8_t, kHeldNoteSlots> HeldNotes{}; // after the terca shift, oldest first
    uint8_t BaseNote = 0;                            // first key of a mono phrase
    uint8_t LastVelocity = 100;                      // velocity of the last note-on sent
};

// Where the pedals went. Whoever reads or writes it holds the engine lock.
struct PedalState {
    // Per synthesiser channel: the pedals pressed there and not released.
    std::array<uint8_t, kChannels> Down{};
    // Per playing input ((port - 1) * 16 + channel) and pedal: the synthesiser
    // channels (bit c) its presses reached since its last release.
    std::array<std::array<uint16_t, kHeldPedals.size()>, 2 * kChannels> Reached{};
};

struct PerformanceState {
    std::array<ChannelPerformance, kChannels> Channels;
    PedalState Pedals;
    int32_t MasterTranspose = 0;  // semitones, -12..+12; with the engine lock held only
    // Wakes a glide timer that rests while nothing slides and no bend waits.
    ThreadWake TickWanted;
};

// Any thread, after a slide was started or a bend marked dirty: the tick is
// needed again. The wake's flag is exchanged on both sides (here and in the
// resting timer's acknowledgement before it looks whether anything moves):
// either the timer's exchange reads this one's flag, and with it the change
// made before, or this one finds the flag cleared and writes the wake.
inline void WantGlideTick(PerformanceState& p) { p.TickWanted.Signal(); }

// Main thread: replaces channel c's glide set by change(current set),
// retried if the tick moved it in between.
template <class Change>
void UpdateGlide(ChannelPerformance& c, Change change) {
    GlideSet seen = c.Glide.load(std::memory_order_acquire);
    while (!c.Glide.compare_exchange_weak(seen, change(seen), std::memory_order_acq_rel,
                                          std::memory_order_acquire)) {
    }
}

// Main thread: a note event has written its bend terms and is about to send
// its bend (rule 4).
inline void PublishBendTerms(ChannelPerformance& c) {
    // The main thread is the only writer, so a load and a store suffice.
    c.BendSequence.store(c.BendSequence.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

}  // namespace cadenzo
