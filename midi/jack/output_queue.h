// What goes out of one of the program's output ports. Messages caused by an
// input event on the process thread are written straight into the cycle's
// buffer at that event's frame. Messages sent on other threads wait in
// lock-free rings, one per sending thread, stamped with their send time and
// their place in the order of sends, and go out one period later at their
// own place in the cycle, so their spacing in time is kept; they are
// interleaved with the direct writes in time order, and a direct write
// never overtakes a message sent before it. When the buffer is full, the
// rest of the cycle's direct writes carry over to the start of the next
// cycle, in order; ring entries simply wait. A full ring or carry never
// loses a release whose press went out (it is owed and goes out once the
// rings have room, midi/owed_releases.h); anything else it refuses is
// counted. Senders keep a backlog from filling them by asking Backlogged.
//
// Threads: Push and Backlogged from any thread but the process thread, or
// from it while an input event plays; Begin, WriteAt, PlaceSentUpTo and End
// on the process thread only; Lost and Pending anywhere.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "midi/jack/cycle_buffer.h"
#include "midi/jack/timed_ring.h"
#include "midi/owed_releases.h"
#include "midi/short_message.h"

namespace cadenzo {

// How many threads send through their own rings; more share them.
inline constexpr size_t kSenderRings = 4;

// The calling thread's ring: one no other running thread uses while one is
// free, claimed at the thread's first send and given back when it ends.
size_t SenderRing();

class OutputQueue {
public:
    // Another thread: queues `m`, sent at `micros` on the steady clock.
    void Push(ShortMessage m, uint64_t micros);
    // The calling thread's sends fill more than three quarters of its ring
    // (on the process thread, of the carry): a backlog should wait.
    bool Backlogged() const;

    // Process thread: starts the cycle on `buffer` (cleared), writing what
    // the last cycle carried over first.
    void Begin(CycleBuffer& buffer, const CycleTimes& times);
    // Process thread: a message caused by the input event at `frame`.
    void WriteAt(ShortMessage m, uint32_t frame);
    // Process thread: writes the queued messages whose place in this cycle
    // is at or before `frame`.
    void PlaceSentUpTo(uint32_t frame);
    // Process thread: writes the rest of the queued messages that belong to
    // this cycle, and lets go of the buffer.
    void End();

    uint64_t Lost() const { return lost_.load(std::memory_order_relaxed); }
    // Messages from other threads still wait to be written.
    bool Pending() const;

private:
    static constexpr size_t kRingSize = 4096;
    static constexpr size_t kCarrySize = 8192;

    // One sending thread's ring. Its lock is taken only by senders, and only
    // ever contended when more threads send than there are rings.
    struct Sender {
        TimedRing<kRingSize> ring;
        std::mutex lock;
    };

    // Writes the queued messages due at or before `frame`; with `all`, every
    // one, the rest at `frame`.
    void Place(uint32_t frame, bool all);
    // The queued message sent first, and the ring it waits in; null when
    // none waits.
    const TimedMessage* Oldest(size_t& ring) const;
    // Writes `m` at `frame` (or the last frame written, if later).
    bool Put(ShortMessage m, uint32_t frame);
    // Writes `m` at `frame`, or carries it to the next cycle.
    void PutOrCarry(ShortMessage m, uint32_t frame);
    void Carry(ShortMessage m);
    void WriteCarried();

    std::array<Sender, kSenderRings> senders_;
    std::atomic<uint64_t> sequence_{0};
    OwedReleases owed_;
    std::atomic<uint64_t> lost_{0};

    // Process thread only.
    std::array<ShortMessage, kCarrySize> carry_{};
    size_t carryHead_ = 0;
    size_t carryCount_ = 0;
    CycleBuffer* buffer_ = nullptr;
    CycleTimes times_{};
    uint32_t lastFrame_ = 0;
    bool full_ = false;  // the buffer refused a write this cycle
};

}  // namespace cadenzo
