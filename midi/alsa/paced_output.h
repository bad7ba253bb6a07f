// One of the program's output ports on the ALSA sequencer, paced toward the
// client it is joined to. A receiver that queues what it is sent (a
// software synthesiser) holds only so many events; a direct send past that
// is refused, and the receiver's next read then loses everything it had
// queued. So a send goes out at once only while nothing of the port waits
// and the receiver had room for it when last asked (its credit); otherwise
// it waits in the port's bounded queue, and the sender thread writes it once
// the receiver has room (asking it on the service handle), in order. What
// the receiver still will not take after a bounded wait is dropped and
// counted for the port. A full queue never loses a release whose press went
// out (midi/owed_releases.h); anything else it refuses is counted.
//
// Threads: Send and Backlogged on any sender's thread, the input thread
// among them, several at once (allocation-free; never waits, never asks
// the kernel anything); Drain and DropQueued on the sender thread only;
// Idle anywhere.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

#include <alsa/asoundlib.h>

#include "midi/input_queue.h"
#include "midi/thread_wake.h"
#include "midi/owed_releases.h"
#include "midi/short_message.h"

namespace cadenzo {

// How long the sender thread waits for room at a receiver that takes
// nothing before it drops what waits for it.
inline constexpr std::chrono::milliseconds kRoomWait{250};

class PacedOutput {
public:
    // Sends from port `port` of the playing handle `seq` to its
    // subscribers; the receiver is client `receiver`, asked about its room
    // through descriptor `serviceFd` (the service handle's). Counts what is
    // lost in `lost`, wakes the sender thread through `senderWake`. Main
    // thread: asks the receiver's room once.
    PacedOutput(snd_seq_t* seq, int port, int serviceFd, int receiver, std::atomic<uint64_t>& lost,
                ThreadWake& senderWake);

    void Send(ShortMessage m);
    // More than three quarters of the queue wait.
    bool Backlogged() const;

    // Sender thread: writes what waits while the receiver has room. Returns
    // whether something still waits for room (call again after a nap).
    bool Drain(std::chrono::steady_clock::time_point now);
    // Sender thread (or once it no longer drains this port): drops what
    // waits, counting it; releases owed stay owed.
    void DropQueued();
    // Nothing waits.
    bool Idle() const { return pending_.load() == 0; }

private:
    // Events of room `m` takes at the receiver.
    static int Cells(ShortMessage m);
    // The receiver's room now, less a margin for other senders (a large
    // figure for a receiver that takes what it is sent at once).
    int Room() const;
    bool TakeCredit(int cells);
    bool Push(ShortMessage m);
    // Queues `m` behind what waits, or owes or counts it.
    void Queue(ShortMessage m);
    // Sender thread: what to write next, if anything.
    std::optional<ShortMessage> Next();
    // The receiver took nothing: whether to wait on, or (after kRoomWait)
    // what waits was dropped.
    bool Stalled(std::chrono::steady_clock::time_point now);

    snd_seq_t* seq_;
    int port_;
    int serviceFd_;
    int receiver_;
    std::atomic<uint64_t>& lost_;
    ThreadWake& senderWake_;
    InputQueue queue_;
    OwedReleases owed_;
    // Sent to the queue and not yet written or dropped (the head the sender
    // thread holds among them). Sequentially consistent with credit_.
    std::atomic<uint32_t> pending_{0};
    std::atomic<int> credit_{0};  // events of room a send may take at once

    // Sender thread only.
    std::optional<ShortMessage> head_;  // taken from the queue, not yet written
    int budget_ = 0;                    // room the sender thread knows of
    std::optional<std::chrono::steady_clock::time_point> waitingSince_;
    bool dropped_ = false;  // the last wait ended in a drop: owed releases wait for the next send
};

}  // namespace cadenzo
