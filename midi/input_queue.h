// A lock-free queue of 32-bit entries: 1024 slots, any number of producer
// threads, one consumer at a time: for the playing inputs whoever holds the
// engine lock and plays the queue (an input callback, the MIDI engine
// thread or the window thread), for the monitor's records the window
// thread. A full queue (1023 entries
// pending) refuses the new entry and keeps the pending ones. It carries the
// playing inputs' messages (port tag in bits 24..31), each with the moment
// it stands for where its input knows one (SendPlacement::micros), the
// monitor's records, and what waits for room at an ALSA output's receiver.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace cadenzo {

class InputQueue {
public:
    static constexpr uint32_t kSlots = 1024;
    static constexpr uint32_t kMaxPending = kSlots - 1;

    InputQueue();

    // Producers (any thread). Returns false when the queue is full.
    bool Push(uint32_t entry, uint64_t micros = 0);
    // Consumer (one thread). Returns false when the queue is empty.
    bool Pop(uint32_t& entry, uint64_t& micros);
    bool Pop(uint32_t& entry) {
        uint64_t micros = 0;
        return Pop(entry, micros);
    }
    // Consumer: nothing is pending.
    bool Empty() const;

private:
    struct Slot {
        std::atomic<uint32_t> sequence;  // which lap of the ring may use the slot next
        uint32_t entry;
        uint64_t micros;  // 0: none
    };

    std::array<Slot, kSlots> slots_;
    alignas(64) std::atomic<uint32_t> writePosition_{0};
    alignas(64) std::atomic<uint32_t> readPosition_{0};
};

}  // namespace cadenzo
