// One bit per key and per note-keeping pedal of the 16 channels: the layout
// an input's held keys and a queue's owed releases share. Bit ch * 128 +
// note stands for a key, bit kKeyBits + ch * 3 + k for the k-th pedal of
// kHoldingPedals on channel ch.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

// The pedals that keep notes sounding after their note-off: sustain,
// sostenuto and hold 2.
inline constexpr std::array<uint8_t, 3> kHoldingPedals{64, 66, 69};
// A pedal's value from here up presses it.
inline constexpr uint8_t kPedalDown = 64;

// The place of `controller` in kHoldingPedals, -1 for another controller.
constexpr int HoldingPedalIndex(uint32_t controller) {
    for (size_t k = 0; k < kHoldingPedals.size(); ++k)
        if (kHoldingPedals[k] == controller) return static_cast<int>(k);
    return -1;
}

inline constexpr unsigned kKeyBits = 16 * 128;
inline constexpr unsigned kKeyAndPedalBits = kKeyBits + 16 * kHoldingPedals.size();

constexpr unsigned KeyBit(unsigned ch, unsigned note) { return ch * 128 + note; }
constexpr unsigned PedalBit(unsigned ch, unsigned pedal) {
    return kKeyBits + ch * static_cast<unsigned>(kHoldingPedals.size()) + pedal;
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
        const int pedal = HoldingPedalIndex(u.data1);
        if (pedal >= 0) return {static_cast<int>(PedalBit(u.channel, static_cast<unsigned>(pedal))), u.data2 >= kPedalDown};
    }
    return {-1, false};
}

// The release of the key or pedal of `bit` (below kKeyAndPedalBits): a
// note-off of velocity 0, or the pedal's value 0.
constexpr ShortMessage ReleaseOf(unsigned bit) {
    if (bit < kKeyBits) return PackShortMessage(0x80, bit / 128, bit % 128, 0);
    const unsigned pedal = bit - kKeyBits;
    return PackShortMessage(0xB0, pedal / kHoldingPedals.size(), kHoldingPedals[pedal % kHoldingPedals.size()], 0);
}

}  // namespace cadenzo
