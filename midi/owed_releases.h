// What a playing input's full queue may not lose: the note-off or pedal
// release (sustain, sostenuto, hold 2) of a key or pedal whose press the
// queue took. The input's callback notes each press the queue takes; a
// release that the full queue refuses is owed instead of lost. What is owed
// enters the queue before anything that input sends later, or is taken by
// the dispatcher once the queue has run empty, so it never overtakes a later
// press of the same key. Lock-free and allocation-free.
//
// Threads: Taken, Refused and QueueOwed on the input's callback thread (one
// writer per input); TakeOwed by the dispatcher, under the engine lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "midi/input_queue.h"
#include "midi/short_message.h"

namespace cadenzo {

class OwedReleases {
public:
    // Callback thread: the queue took `m`.
    void Taken(ShortMessage m);
    // Callback thread: the full queue refused `m`. Returns whether it is
    // owed (a release of a taken press); otherwise it is lost.
    bool Refused(ShortMessage m);
    // Callback thread: queues what is owed, each with `tag`. Returns false
    // when the queue filled up first (the rest stays owed).
    bool QueueOwed(InputQueue& queue, uint32_t tag);
    // Dispatcher: takes everything owed and hands each release to `play`.
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
    static constexpr unsigned kKeyBits = 16 * 128;  // bit ch * 128 + note
    static constexpr unsigned kWords = kKeyBits / 64 + 1;  // then bit kKeyBits + ch * 3 + pedal
    static constexpr std::array<uint8_t, 3> kPedals{64, 66, 69};

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
