#include "midi/alsa/paced_output.h"

#include "midi/alsa/receiver_room.h"
#include "midi/alsa/sequencer_event.h"
#include "midi/midi_backend.h"

namespace cadenzo {

namespace {

// Room kept free at a receiver for other senders (a keyboard joined to the
// same synthesiser, or a send of ours made while the room was asked).
constexpr int kRoomMargin = 16;
// The room of a receiver that has no queue to ask about (a kernel client,
// such as a USB port): it takes what it is sent at once.
constexpr int kUnqueuedRoom = 1 << 20;

}  // namespace

PacedOutput::PacedOutput(snd_seq_t* seq, int port, int serviceFd, int receiver, std::atomic<uint64_t>& lost,
                         ThreadWake& senderWake)
    : seq_(seq), port_(port), serviceFd_(serviceFd), receiver_(receiver), lost_(lost), senderWake_(senderWake) {
    credit_.store(Room());
}

int PacedOutput::Cells(ShortMessage m) {
    // The master volume's system exclusive takes a second event for its bytes.
    return (m & 0xFF) == kMasterVolumeStatus ? 2 : 1;
}

int PacedOutput::Room() const {
    const std::optional<int> room = ReceiverRoom(serviceFd_, receiver_);
    return room ? *room - kRoomMargin : kUnqueuedRoom;
}

bool PacedOutput::TakeCredit(int cells) {
    int credit = credit_.load();
    while (credit >= cells)
        if (credit_.compare_exchange_weak(credit, credit - cells)) return true;
    return false;
}

bool PacedOutput::Push(ShortMessage m) {
    pending_.fetch_add(1);
    if (queue_.Push(m)) return true;
    pending_.fetch_sub(1);
    return false;
}

void PacedOutput::Queue(ShortMessage m) {
    if (owed_.QueueOwed([this](ShortMessage r) { return Push(r); }) && Push(m))
        owed_.Taken(m);
    else if (!owed_.Refused(m))
        lost_.fetch_add(1, std::memory_order_relaxed);
}

void PacedOutput::Send(ShortMessage m) {
    // Releases owed go into the queue first, and then nothing may overtake them.
    if (owed_.QueueOwed([this](ShortMessage r) { return Push(r); }) && pending_.load() == 0 &&
        TakeCredit(Cells(m))) {
        if (SendShortMessage(seq_, port_, m) >= 0) {
            owed_.Taken(m);
            return;
        }
        credit_.store(0);  // refused after all: it waits for room like the rest
    }
    Queue(m);
    senderWake_.Signal();
}

bool PacedOutput::Backlogged() const { return pending_.load() > InputQueue::kMaxPending / 4 * 3; }

std::optional<ShortMessage> PacedOutput::Next() {
    uint32_t m = 0;
    if (queue_.Pop(m)) return m;
    if (dropped_) return std::nullopt;  // what is owed waits for the next send
    // The queue ran empty: releases it had to refuse go now. The reservation
    // keeps anyone from sending at once meanwhile.
    pending_.fetch_add(1);
    owed_.QueueOwed([this](ShortMessage r) { return Push(r); });
    pending_.fetch_sub(1);
    if (queue_.Pop(m)) return m;
    return std::nullopt;
}

bool PacedOutput::Drain(std::chrono::steady_clock::time_point now) {
    // What the senders left of their credit is room still free.
    budget_ = credit_.exchange(0);
    for (;;) {
        if (!head_) head_ = Next();
        if (!head_) break;
        const int cells = Cells(*head_);
        if (budget_ < cells) budget_ = Room();
        if (budget_ < cells || SendShortMessage(seq_, port_, *head_) < 0) {
            budget_ = 0;
            return Stalled(now);
        }
        budget_ -= cells;
        head_.reset();
        pending_.fetch_sub(1);
        waitingSince_.reset();
        dropped_ = false;
    }
    credit_.store(budget_);
    budget_ = 0;
    return false;
}

bool PacedOutput::Stalled(std::chrono::steady_clock::time_point now) {
    if (!waitingSince_) waitingSince_ = now;
    if (now - *waitingSince_ < kRoomWait) return true;
    DropQueued();
    return false;
}

void PacedOutput::DropQueued() {
    const auto drop = [this](ShortMessage m) {
        if (!owed_.Refused(m)) lost_.fetch_add(1, std::memory_order_relaxed);
        pending_.fetch_sub(1);
    };
    if (head_) drop(*head_);
    head_.reset();
    for (uint32_t m = 0; queue_.Pop(m);) drop(m);
    waitingSince_.reset();
    dropped_ = true;
}

}  // namespace cadenzo
