// A lock-free ring of short messages stamped with the time they were sent
// and their place in the order of all sends to one output, from one
// producer thread at a time to one consumer thread (the JACK process
// callback). Fixed-size entries in a fixed array: pushing and popping never
// allocate, wait or spin. A push to a full ring is refused.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

struct TimedMessage {
    uint64_t micros;    // when it was sent (steady clock, microseconds)
    uint64_t sequence;  // sends to the output before it have smaller ones
    ShortMessage message;
};

template <size_t Capacity>
class TimedRing {
    static_assert((Capacity & (Capacity - 1)) == 0, "a power of two");

public:
    // Producer.
    bool Push(TimedMessage entry) {
        const size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
        entries_[tail & (Capacity - 1)] = entry;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer: the oldest entry, if any.
    const TimedMessage* Front() const {
        const size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return nullptr;
        return &entries_[head & (Capacity - 1)];
    }
    // Consumer: drops the entry Front returned.
    void Pop() { head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

    // Producer: how many entries wait.
    size_t Size() const { return tail_.load(std::memory_order_relaxed) - head_.load(std::memory_order_acquire); }

    // Any thread: nothing waits (a snapshot).
    bool Empty() const { return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire); }

private:
    std::array<TimedMessage, Capacity> entries_{};
    alignas(64) std::atomic<size_t> head_{0};  // next entry to read
    alignas(64) std::atomic<size_t> tail_{0};  // next entry to write
};

}  // namespace cadenzo
