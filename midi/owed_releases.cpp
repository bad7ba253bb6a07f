#include "midi/owed_releases.h"

namespace cadenzo {

int OwedReleases::BitOf(ShortMessage m, bool& press) {
    const UnpackedMessage u = UnpackShortMessage(m);
    if (u.command == 0xB0 && u.data1 == kAllNotesOff) {
        press = false;
        return static_cast<int>(kAllNotesOffBit + u.channel);
    }
    const KeyChange change = KeyChangeOf(m);
    press = change.press;
    return change.bit;
}

ShortMessage OwedReleases::Release(unsigned bit) {
    if (bit >= kAllNotesOffBit) return PackShortMessage(0xB0, bit - kAllNotesOffBit, kAllNotesOff, 0);
    return ReleaseOf(bit);
}

void OwedReleases::Taken(ShortMessage m) {
    bool press = false;
    const int bit = BitOf(m, press);
    if (bit < 0) return;
    std::atomic<uint64_t>& word = taken_[static_cast<unsigned>(bit) / 64];
    const uint64_t mask = uint64_t{1} << (bit % 64);
    if (press)
        word.fetch_or(mask, std::memory_order_relaxed);
    else
        word.fetch_and(~mask, std::memory_order_relaxed);
}

bool OwedReleases::Refused(ShortMessage m) {
    bool press = false;
    const int bit = BitOf(m, press);
    if (bit < 0 || press) return false;
    const unsigned w = static_cast<unsigned>(bit) / 64;
    const uint64_t mask = uint64_t{1} << (bit % 64);
    // An All Notes Off is owed whatever went before it.
    const bool allNotesOff = static_cast<unsigned>(bit) >= kAllNotesOffBit;
    if (!allNotesOff && (taken_[w].fetch_and(~mask, std::memory_order_relaxed) & mask) == 0) return false;
    Owe(w, mask);
    return true;
}

void OwedReleases::Owe(unsigned w, uint64_t bits) {
    owed_[w].fetch_or(bits, std::memory_order_release);
    any_.store(true, std::memory_order_release);
}

}  // namespace cadenzo
