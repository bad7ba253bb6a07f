#include "midi/held_keys.h"

#include <algorithm>

namespace cadenzo {

template <size_t N>
void HeldKeys::Put(std::array<std::atomic<uint64_t>, N>& words, unsigned bit, bool on) {
    std::atomic<uint64_t>& word = words[bit / 64];
    const uint64_t mask = uint64_t{1} << (bit % 64);
    // One writer: a load and a store suffice.
    const uint64_t now = word.load(std::memory_order_relaxed);
    word.store(on ? now | mask : now & ~mask, std::memory_order_relaxed);
}

void HeldKeys::Track(ShortMessage m) {
    const UnpackedMessage u = UnpackShortMessage(m);
    const unsigned ch = u.channel;
    const unsigned note = u.data1 & 0x7F;
    switch (u.command) {
    case 0x90:
        // The velocity first, so a reader that sees the key held sees how it was struck.
        if (u.data2 != 0) velocities_[ch * kNotes + note].store(u.data2, std::memory_order_relaxed);
        Put(keys_, ch * kNotes + note, u.data2 != 0);
        break;
    case 0x80:
        Put(keys_, ch * kNotes + note, false);
        break;
    case 0xB0:
        if (const auto* p = std::find(kPedals.begin(), kPedals.end(), u.data1); p != kPedals.end())
            Put(pedals_, ch * kPedals.size() + static_cast<unsigned>(p - kPedals.begin()), u.data2 >= 64);
        break;
    default:
        break;
    }
}

bool HeldKeys::KeyHeld(unsigned ch, unsigned note) const { return Held(keys_, ch * kNotes + note); }

uint8_t HeldKeys::Velocity(unsigned ch, unsigned note) const {
    return velocities_[ch * kNotes + note].load(std::memory_order_relaxed);
}

uint64_t HeldKeys::KeysHeld(unsigned ch, unsigned half) const {
    return keys_[(ch * kNotes) / 64 + half].load(std::memory_order_relaxed);
}

void HeldKeys::Clear() {
    for (auto& word : keys_) word.store(0, std::memory_order_relaxed);
    for (auto& word : pedals_) word.store(0, std::memory_order_relaxed);
}

std::vector<ShortMessage> HeldKeys::TakeReleases() {
    std::vector<ShortMessage> releases;
    ForEachRelease([&](ShortMessage release) { releases.push_back(release); });
    Clear();
    return releases;
}

}  // namespace cadenzo
