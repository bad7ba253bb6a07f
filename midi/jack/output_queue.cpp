#include "midi/jack/output_queue.h"

#include <algorithm>

#include "midi/send_placement.h"
#include "midi/midi_backend.h"

namespace cadenzo {

namespace {

std::array<std::atomic<bool>, kSenderRings> gClaimedRings{};
std::atomic<size_t> gSharedRing{0};

// A thread's claim on a ring, given back when the thread ends.
struct RingClaim {
    RingClaim() {
        for (size_t r = 0; r < kSenderRings; ++r) {
            if (!gClaimedRings[r].exchange(true, std::memory_order_acq_rel)) {
                ring = r;
                owned = true;
                return;
            }
        }
        ring = gSharedRing.fetch_add(1, std::memory_order_relaxed) % kSenderRings;
    }
    ~RingClaim() {
        if (owned) gClaimedRings[ring].store(false, std::memory_order_release);
    }
    RingClaim(const RingClaim&) = delete;
    RingClaim& operator=(const RingClaim&) = delete;
    size_t ring = 0;
    bool owned = false;
};

}  // namespace

size_t SenderRing() {
    thread_local const RingClaim claim;
    return claim.ring;
}

void OutputQueue::Push(ShortMessage m, uint64_t micros) {
    Sender& sender = senders_[SenderRing()];
    const std::lock_guard guard(sender.lock);
    const auto push = [&](ShortMessage x) {
        return sender.ring.Push({micros, sequence_.fetch_add(1, std::memory_order_relaxed), x});
    };
    if (owed_.QueueOwed(push) && push(m))
        owed_.Taken(m);
    else if (!owed_.Refused(m))
        lost_.fetch_add(1, std::memory_order_relaxed);
}

bool OutputQueue::Backlogged() const {
    if (SendPlacementScope::Current().cycleFrame) return carryCount_ > kCarrySize / 4 * 3;
    return senders_[SenderRing()].ring.Size() > kRingSize / 4 * 3;
}

bool OutputQueue::Pending() const {
    return std::any_of(senders_.begin(), senders_.end(), [](const Sender& s) { return !s.ring.Empty(); });
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

void OutputQueue::PutOrCarry(ShortMessage m, uint32_t frame) {
    if (carryCount_ == 0 && !full_ && Put(m, frame)) return;
    Carry(m);
}

void OutputQueue::Carry(ShortMessage m) {
    if (carryCount_ == kCarrySize) {
        if (!owed_.Refused(m)) lost_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    carry_[(carryHead_ + carryCount_) % kCarrySize] = m;
    ++carryCount_;
}

void OutputQueue::WriteAt(ShortMessage m, uint32_t frame) {
    owed_.Taken(m);
    // What other threads sent before goes first, even if its place is later
    // (or in the next cycle): a note-off never overtakes its note-on.
    Place(frame, true);
    if (carryCount_ == 0 && !full_ && Put(m, frame)) return;
    // The buffer is full: what waits in the rings goes ahead of `m` into the
    // carry, and later messages wait behind it.
    size_t ring = 0;
    for (const TimedMessage* entry = Oldest(ring); entry != nullptr; entry = Oldest(ring)) {
        Carry(entry->message);
        senders_[ring].ring.Pop();
    }
    Carry(m);
}

void OutputQueue::PlaceSentUpTo(uint32_t frame) { Place(frame, false); }

const TimedMessage* OutputQueue::Oldest(size_t& ring) const {
    // A message seen first may have been sent after one still unseen in a
    // ring looked at before: look at the others again until none was sent
    // earlier. Whatever was sent before a message that was seen is seen then.
    const TimedMessage* oldest = nullptr;
    while (true) {
        const TimedMessage* earlier = nullptr;
        size_t at = 0;
        for (size_t r = 0; r < kSenderRings; ++r) {
            if (oldest != nullptr && r == ring) continue;
            const TimedMessage* entry = senders_[r].ring.Front();
            const TimedMessage* best = earlier != nullptr ? earlier : oldest;
            if (entry != nullptr && (best == nullptr || entry->sequence < best->sequence)) {
                earlier = entry;
                at = r;
            }
        }
        if (earlier == nullptr) return oldest;
        oldest = earlier;
        ring = at;
    }
}

void OutputQueue::Place(uint32_t frame, bool all) {
    const uint64_t start = times_.startMicros;
    const uint64_t previous = std::min(times_.previousStartMicros, start);
    const uint64_t span = std::max<uint64_t>(start - previous, 1);
    while (carryCount_ == 0 && !full_) {
        size_t ring = 0;
        const TimedMessage* entry = Oldest(ring);
        if (entry == nullptr) return;
        // Sent during this cycle: its place is in the next one.
        const bool due = entry->micros < start;
        const uint64_t since = entry->micros > previous ? entry->micros - previous : 0;
        uint32_t place = static_cast<uint32_t>(std::min<uint64_t>(since * times_.frames / span, times_.frames - 1));
        if (!all && (!due || place > frame)) return;
        if (!due || place > frame) place = frame;
        if (!Put(entry->message, place)) return;  // waits in the ring for the next cycle
        senders_[ring].ring.Pop();
    }
}

void OutputQueue::End() {
    Place(times_.frames - 1, false);
    // Releases the rings had no room for go once nothing waits before them.
    if (!Pending()) owed_.TakeOwed([this](ShortMessage m) { PutOrCarry(m, times_.frames - 1); });
    buffer_ = nullptr;
}

}  // namespace cadenzo
