#include "midi/owed_releases.h"

#include <algorithm>

namespace cadenzo {

int OwedReleases::BitOf(ShortMessage m, bool& press) {
    const UnpackedMessage u = UnpackShortMessage(m);
    if (u.command == 0x90 || u.command == 0x80) {
        press = u.command == 0x90 && u.data2 != 0;
        return static_cast<int>(u.channel * 128u + (u.data1 & 0x7Fu));
    }
    if (u.command == 0xB0) {
        const auto* p = std::find(kPedals.begin(), kPedals.end(), u.data1);
        if (p == kPedals.end()) return -1;
        press = u.data2 >= 64;
        return static_cast<int>(kKeyBits + u.channel * kPedals.size() + static_cast<size_t>(p - kPedals.begin()));
    }
    return -1;
}

ShortMessage OwedReleases::Release(unsigned bit) {
    if (bit < kKeyBits) return PackShortMessage(0x80, bit / 128, bit % 128, 0);
    const unsigned pedal = bit - kKeyBits;
    return PackShortMessage(0xB0, pedal / kPedals.size(), kPedals[pedal % kPedals.size()], 0);
}

void OwedReleases::Taken(ShortMessage m) {
    bool press = false;
    const int bit = BitOf(m, press);
    if (bit < 0) return;
    std::atomic<uint64_t>& word = taken_[static_cast<unsigned>(bit) / 64];
    const uint64_t mask = uint64_t{1} << (bit % 64);
    // One writer: a load and a store suffice.
    const uint64_t now = word.load(std::memory_order_relaxed);
    word.store(press ? now | mask : now & ~mask, std::memory_order_relaxed);
}

bool OwedReleases::Refused(ShortMessage m) {
    bool press = false;
    const int bit = BitOf(m, press);
    if (bit < 0 || press) return false;
    const unsigned w = static_cast<unsigned>(bit) / 64;
    const uint64_t mask = uint64_t{1} << (bit % 64);
    const uint64_t now = taken_[w].load(std::memory_order_relaxed);
    if ((now & mask) == 0) return false;
    taken_[w].store(now & ~mask, std::memory_order_relaxed);
    Owe(w, mask);
    return true;
}

void OwedReleases::Owe(unsigned w, uint64_t bits) {
    owed_[w].fetch_or(bits, std::memory_order_release);
    any_.store(true, std::memory_order_release);
}

bool OwedReleases::QueueOwed(InputQueue& queue, uint32_t tag) {
    if (!any_.load(std::memory_order_acquire) || !any_.exchange(false, std::memory_order_acq_rel)) return true;
    for (unsigned w = 0; w < kWords; ++w) {
        uint64_t bits = owed_[w].exchange(0, std::memory_order_acq_rel);
        for (; bits != 0; bits &= bits - 1) {
            const unsigned bit = w * 64 + static_cast<unsigned>(__builtin_ctzll(bits));
            if (!queue.Push(Release(bit) + tag)) {
                Owe(w, bits);  // this one and the rest of the word stay owed, as do the later words
                return false;
            }
        }
    }
    return true;
}

}  // namespace cadenzo
