#include "midi/input_queue.h"

namespace cadenzo {

// Each slot's sequence tells who may use it: equal to a producer's position
// when free for that producer, position + 1 once filled for the consumer.
// Producers claim positions with a compare-and-swap, so the two never write
// the same slot; the entry is written before the sequence that publishes it.

InputQueue::InputQueue() {
    for (uint32_t i = 0; i < kSlots; ++i) slots_[i].sequence.store(i, std::memory_order_relaxed);
}

bool InputQueue::Push(uint32_t entry, uint64_t micros) {
    uint32_t position = writePosition_.load(std::memory_order_relaxed);
    for (;;) {
        // Signed: a position read before the other producer moved on may
        // lie behind the read position; its claim below then fails anyway.
        const auto pending = static_cast<int32_t>(position - readPosition_.load(std::memory_order_acquire));
        if (pending >= static_cast<int32_t>(kMaxPending)) return false;
        Slot& slot = slots_[position % kSlots];
        const uint32_t sequence = slot.sequence.load(std::memory_order_acquire);
        const int32_t lap = static_cast<int32_t>(sequence - position);
        if (lap == 0) {
            if (writePosition_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
                slot.entry = entry;
                slot.micros = micros;
                slot.sequence.store(position + 1, std::memory_order_release);
                return true;
            }
        } else if (lap < 0) {
            return false;  // the consumer has not freed this slot yet
        } else {
            position = writePosition_.load(std::memory_order_relaxed);
        }
    }
}

bool InputQueue::Pop(uint32_t& entry, uint64_t& micros) {
    const uint32_t position = readPosition_.load(std::memory_order_relaxed);
    Slot& slot = slots_[position % kSlots];
    if (slot.sequence.load(std::memory_order_acquire) != position + 1) return false;
    entry = slot.entry;
    micros = slot.micros;
    slot.sequence.store(position + kSlots, std::memory_order_release);
    readPosition_.store(position + 1, std::memory_order_release);
    return true;
}

bool InputQueue::Empty() const {
    const uint32_t position = readPosition_.load(std::memory_order_relaxed);
    return slots_[position % kSlots].sequence.load(std::memory_order_acquire) != position + 1;
}

}  // namespace cadenzo
