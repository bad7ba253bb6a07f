// What goes out of one of the program's output ports. Messages caused by an
// input event on the process thread are written straight into the cycle's
// buffer at that event's frame. Messages sent on other threads wait in a
// lock-free ring, stamped with their send time, and go out one period later
// at their own place in the cycle, so their spacing in time is kept; they
// are interleaved with the direct writes in time order, and a direct write
// never overtakes a message sent before it. When the buffer is
// full, the rest of the cycle's direct writes carry over to the start of
// the next cycle, in order; ring entries simply wait. Only a full ring or a
// full carry loses a message, and it is counted.
//
// Threads: Push from one sender at a time (the output slot's lock
// serialises them); Begin, WriteAt, PlaceSentUpTo and End on the process
// thread only; Lost and Pending anywhere.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "midi/jack/cycle_buffer.h"
#include "midi/jack/timed_ring.h"
#include "midi/short_message.h"

namespace cadenzo {

class OutputQueue {
public:
    // Another thread: queues `m`, sent at `micros` on the steady clock.
    void Push(ShortMessage m, uint64_t micros);

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
    bool Pending() const { return !ring_.Empty(); }

private:
    static constexpr size_t kRingSize = 4096;
    static constexpr size_t kCarrySize = 8192;

    // Writes the queued messages due at or before `frame`; with `all`, every
    // one, the rest at `frame`.
    void Place(uint32_t frame, bool all);
    // Writes `m` at `frame` (or the last frame written, if later).
    bool Put(ShortMessage m, uint32_t frame);
    void Carry(ShortMessage m);
    void WriteCarried();

    TimedRing<kRingSize> ring_;
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
