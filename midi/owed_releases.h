// What a full queue may not lose: the note-off or pedal release (sustain,
// sostenuto, hold 2) of a key or pedal whose press the queue took, and an
// All Notes Off. The sender notes each press the queue takes; a release
// that the full queue refuses is owed instead of lost. What is owed enters
// the queue before anything the sender sends later, or is taken by the
// queue's reader once the queue has run empty, so it never overtakes a
// later press of the same key. Lock-free and allocation-free. Used for a
// playing input's queue and for each output's rings.
//
// Threads: Taken, Refused and QueueOwed on the senders' threads (several
// may send at once); TakeOwed by the queue's reader.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "midi/key_bits.h"
#include "midi/short_message.h"

namespace cadenzo {

class OwedReleases {
public:
    // Sender: the queue took `m`.
    void Taken(ShortMessage m);
    // Sender: the full queue refused `m`. Returns whether it is owed (a
    // release of a taken press, or an All Notes Off); otherwise it is lost.
    bool Refused(ShortMessage m);
    // Sender: hands what is owed to `push` (which returns false when the
    // queue is full). Returns false when the queue filled up first (the
    // rest stays owed).
    template <class Push>
    bool QueueOwed(Push push) {
        if (!any_.load(std::memory_order_acquire) || !any_.exchange(false, std::memory_order_acq_rel)) return true;
        for (unsigned w = 0; w < kWords; ++w) {
            uint64_t bits = owed_[w].exchange(0, std::memory_order_acq_rel);
            for (; bits != 0; bits &= bits - 1) {
                if (!push(Release(w * 64 + static_cast<unsigned>(__builtin_ctzll(bits))))) {
                    Owe(w, bits);  // this one and the rest of the word stay owed, as do the later words
                    return false;
                }
            }
        }
        return true;
    }
    // Reader: takes everything owed and hands each release to `play`.
    // Returns whether anything was owed.
    template <class Play>
    bool TakeOwed(Play play) {
        if (!any_.exchange(false, std::memory_order_acq_rel)) return false;
        for (unsigned w = 0; w < kWords; ++w) {
            uint64_t bits = owed_[w].exchange(0, std::memory_order_acq_rel);
            for (; bits != 0; bits &= bits - 1) play(Release(w * 64 + static_cast<unsigned>(__builtin_ctzll(bits))));
        }
        return true;
    }

private:
    // The keys and pedals as midi/key_bits.h lays them out, then bit
    // kAllNotesOffBit + ch.
    static constexpr unsigned kAllNotesOffBit = kKeyAndPedalBits;
    static constexpr unsigned kWords = (kAllNotesOffBit + 16 + 63) / 64;
    static constexpr uint8_t kAllNotesOff = 123;

    // The bit of the key or pedal `m` presses or lets go, and which it does;
    // -1 for anything else.
    static int BitOf(ShortMessage m, bool& press);
    // The release that bit `bit` stands for.
    static ShortMessage Release(unsigned bit);
    void Owe(unsigned w, uint64_t bits);

    std::array<std::atomic<uint64_t>, kWords> taken_{};  // presses the queue took, not yet let go
    std::array<std::atomic<uint64_t>, kWords> owed_{};   // releases the queue refused
    std::atomic<bool> any_{false};                       // something may be owed
};

}  // namespace cadenzo
