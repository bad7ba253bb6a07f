#include "midi/held_keys.h"

namespace cadenzo {

void HeldKeys::Put(unsigned bit, bool on) {
    std::atomic<uint64_t>& word = bits_[bit / 64];
    const uint64_t mask = uint64_t{1} << (bit % 64);
    // One writer: a load and a store suffice.
    const uint64_t now = word.load(std::memory_order_relaxed);
    word.store(on ? now | mask : now & ~mask, std::memory_order_relaxed);
}

void HeldKeys::Track(ShortMessage m) {
    const KeyChange change = KeyChangeOf(m);
    if (change.bit < 0) return;
    const auto bit = static_cast<unsigned>(change.bit);
    // The velocity first, so a reader that sees the key held sees how it was struck.
    if (bit < kKeyBits && change.press) velocities_[bit].store(UnpackShortMessage(m).data2, std::memory_order_relaxed);
    Put(bit, change.press);
}

bool HeldKeys::KeyHeld(unsigned ch, unsigned note) const { return Held(KeyBit(ch, note)); }

uint8_t HeldKeys::Velocity(unsigned ch, unsigned note) const {
    return velocities_[KeyBit(ch, note)].load(std::memory_order_relaxed);
}

uint64_t HeldKeys::KeysHeld(unsigned ch, unsigned half) const {
    return bits_[KeyBit(ch, 0) / 64 + half].load(std::memory_order_relaxed);
}

void HeldKeys::Clear() {
    for (auto& word : bits_) word.store(0, std::memory_order_relaxed);
}

std::vector<ShortMessage> HeldKeys::TakeReleases() {
    std::vector<ShortMessage> releases;
    ForEachRelease([&](ShortMessage release) { releases.push_back(release); });
    Clear();
    return releases;
}

}  // namespace cadenzo
