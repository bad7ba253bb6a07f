// What the device on one input holds down: the keys struck and not yet let
// go, and the held pedals (sustain, sostenuto, hold 2), per channel. The
// input's own callback writes it (one writer, no lock, no allocation); the
// main thread takes it once no callback runs for the input any more, to let
// go of everything when the device is lost.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "midi/key_bits.h"
#include "midi/short_message.h"

namespace cadenzo {

class HeldKeys {
public:
    // The input's callback thread: what `m` presses or lets go.
    void Track(ShortMessage m);
    // Any thread: whether key `note` of channel ch is held down now.
    bool KeyHeld(unsigned ch, unsigned note) const;
    // Any thread: the velocity key `note` of channel ch was last struck with.
    uint8_t Velocity(unsigned ch, unsigned note) const;
    // Any thread: keys 64 * half .. 64 * half + 63 of channel ch held down
    // now, bit k for key 64 * half + k (half = 0 or 1).
    uint64_t KeysHeld(unsigned ch, unsigned half) const;
    // Main thread, while no callback runs: forgets everything.
    void Clear();
    // Main thread, while no callback runs: a note-off (velocity 0) for every
    // held key, then a value 0 for every held pedal, channel by channel; all
    // of it forgotten.
    std::vector<ShortMessage> TakeReleases();
    // The input's callback thread: calls `release` with each of those
    // messages, in that order, without allocating; `release` may play them
    // through the callback, which forgets each as it goes.
    template <typename Release>
    void ForEachRelease(Release release) const {
        for (unsigned ch = 0; ch < 16; ++ch) {
            for (unsigned note = 0; note < 128; ++note)
                if (Held(KeyBit(ch, note))) release(ReleaseOf(KeyBit(ch, note)));
            for (unsigned p = 0; p < kHeldPedals.size(); ++p)
                if (Held(PedalBit(ch, p))) release(ReleaseOf(PedalBit(ch, p)));
        }
    }

private:
    bool Held(unsigned bit) const { return (bits_[bit / 64].load(std::memory_order_relaxed) >> (bit % 64) & 1) != 0; }
    void Put(unsigned bit, bool on);

    std::array<std::atomic<uint64_t>, (kKeyAndPedalBits + 63) / 64> bits_{};  // the keys and pedals held
    std::array<std::atomic<uint8_t>, kKeyBits> velocities_{};                  // by key bit
};

}  // namespace cadenzo
