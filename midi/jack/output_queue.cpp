#include "midi/jack/output_queue.h"

#include <algorithm>

#include "midi/midi_backend.h"

namespace cadenzo {

void OutputQueue::Push(ShortMessage m, uint64_t micros) {
    if (!ring_.Push({micros, m})) lost_.fetch_add(1, std::memory_order_relaxed);
}

void OutputQueue::Begin(CycleBuffer& buffer, const CycleTimes& times) {
    buffer_ = &buffer;
    times_ = times;
    lastFrame_ = 0;
    full_ = false;
    WriteCarried();
}

void OutputQueue::WriteCarried() {
    while (carryCount_ > 0 && !full_) {
        if (!Put(carry_[carryHead_], 0)) return;
        carryHead_ = (carryHead_ + 1) % kCarrySize;
        --carryCount_;
    }
}

bool OutputQueue::Put(ShortMessage m, uint32_t frame) {
    std::array<uint8_t, kMaxMessageBytes> bytes{};
    const size_t size = MessageBytes(m, bytes);
    if (size == 0) return true;  // nothing to send
    frame = std::max(frame, lastFrame_);
    if (!buffer_->Write(frame, bytes.data(), size)) {
        full_ = true;
        return false;
    }
    lastFrame_ = frame;
    return true;
}

void OutputQueue::Carry(ShortMessage m) {
    if (carryCount_ == kCarrySize) {
        lost_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    carry_[(carryHead_ + carryCount_) % kCarrySize] = m;
    ++carryCount_;
}

void OutputQueue::WriteAt(ShortMessage m, uint32_t frame) {
    // What other threads sent before goes first, even if its place is later
    // (or in the next cycle): a note-off never overtakes its note-on.
    Place(frame, true);
    if (carryCount_ == 0 && !full_ && Put(m, frame)) return;
    // The buffer is full: what waits in the ring goes ahead of `m` into the
    // carry, and later messages wait behind it.
    for (const TimedMessage* entry = ring_.Front(); entry != nullptr; entry = ring_.Front()) {
        Carry(entry->message);
        ring_.Pop();
    }
    Carry(m);
}

void OutputQueue::PlaceSentUpTo(uint32_t frame) { Place(frame, false); }

void OutputQueue::Place(uint32_t frame, bool all) {
    const uint64_t start = times_.startMicros;
    const uint64_t previous = std::min(times_.previousStartMicros, start);
    const uint64_t span = std::max<uint64_t>(start - previous, 1);
    while (carryCount_ == 0 && !full_) {
        const TimedMessage* entry = ring_.Front();
        if (entry == nullptr) return;
        // Sent during this cycle: its place is in the next one.
        const bool due = entry->micros < start;
        const uint64_t since = entry->micros > previous ? entry->micros - previous : 0;
        uint32_t place = static_cast<uint32_t>(std::min<uint64_t>(since * times_.frames / span, times_.frames - 1));
        if (!all && (!due || place > frame)) return;
        if (!due || place > frame) place = frame;
        if (!Put(entry->message, place)) return;  // waits in the ring for the next cycle
        ring_.Pop();
    }
}

void OutputQueue::End() {
    Place(times_.frames - 1, false);
    buffer_ = nullptr;
}

}  // namespace cadenzo
