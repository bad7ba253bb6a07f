// One bit per key and per held pedal of the 16 channels: the layout
// an input's held keys and a queue's owed releases share. Bit ch * 128 +
// note stands for a key, bit kKeyBits + ch * 4 + k for the k-th pedal of
// kHeldPedals on channel ch.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

// The pedals a player holds down, whose release must never be lost:
// sustain, sostenuto and hold 2, which keep notes sounding after their
// note-off, and the soft pedal, which keeps the sound muffled.
inline constexpr std::array<uint8_t, 4> kHeldPedals{64, 66, 67, 69};
inline constexpr uint8_t kSoftPedal = 67;
// A pedal's value from here up presses it.
inline constexpr uint8_t kPedalDown = 64;

// The place of `controller` in kHeldPedals, -1 for another controller.
constexpr int HeldPedalIndex(uint32_t controller) {
    for (size_t k = 0; k < kHeldPedals.size(); ++k)
        if (kHeldPedals[k] == controller) return static_cast<int>(k);
    return -1;
}

inline constexpr unsigned kKeyBits = 16 * 128;
inline constexpr unsigned kKeyAndPedalBits = kKeyBits + 16 * kHeldPedals.size();

constexpr unsigned KeyBit(unsigned ch, unsigned note) { return ch * 128 + note; }
constexpr unsigned PedalBit(unsigned ch, unsigned pedal) {
    return kKeyBits + ch * static_cast<unsigned>(kHeldPedals.size()) + pedal;
}

// What a message does to a key or pedal.
struct KeyChange {
    int bit;     // -1: the message presses or lets go of no key or pedal
    bool press;  // a note-on above velocity 0, a pedal value from kPedalDown up
};

constexpr KeyChange KeyChangeOf(ShortMessage m) {
    const UnpackedMessage u = UnpackShortMessage(m);
    if (u.command == 0x90 || u.command == 0x80)
        return {static_cast<int>(KeyBit(u.channel, u.data1 & 0x7Fu)), u.command == 0x90 && u.data2 != 0};
    if (u.command == 0xB0) {
        const int pedal = HeldPedalIndex(u.data1);
        if (pedal >= 0) return {static_cast<int>(PedalBit(u.channel, static_cast<unsigned>(pedal))), u.data2 >= kPedalDown};
    }
    return {-1, false};
}

// The release of the key or pedal of `bit` (below kKeyAndPedalBits): a
// note-off of velocity 0, or the pedal's value 0.
constexpr ShortMessage ReleaseOf(unsigned bit) {
    if (bit < kKeyBits) return PackShortMessage(0x80, bit / 128, bit % 128, 0);
    const unsigned pedal = bit - kKeyBits;
    return PackShortMessage(0xB0, pedal / kHeldPedals.size(), kHeldPedals[pedal % kHeldPedals.size()], 0);
}

}  // namespace cadenzo
