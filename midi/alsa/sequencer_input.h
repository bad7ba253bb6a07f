// The thread that reads the program's sequencer client: the events arriving
// at its input ports go to their delivery; announcements of clients, ports
// and subscriptions, lost events and, in any case, each second that passes
// signal the device watch. Events lost (the client's pool overflowed while
// the program was held up) also make every started input let go of what
// its device held. Nothing on it allocates.
#pragma once

#include <atomic>
#include <thread>

#include "midi/alsa/input_delivery.h"
#include "midi/alsa/sequencer_client.h"
#include "midi/thread_wake.h"

namespace cadenzo {

class SequencerInput {
public:
    // Starts the thread on `client`, which must be open; all three outlive it.
    SequencerInput(const SequencerClient& client, InputDelivery& delivery, ThreadWake& deviceChanges);
    ~SequencerInput();
    SequencerInput(const SequencerInput&) = delete;
    SequencerInput& operator=(const SequencerInput&) = delete;

    // Any thread: how many announcements have arrived so far.
    uint64_t Announcements() const { return announcements_.load(std::memory_order_acquire); }

private:
    void Run();
    void Handle(const snd_seq_event_t& event);
    // Reads everything queued.
    void ReadAll(snd_seq_t* seq);

    const SequencerClient& client_;
    InputDelivery& delivery_;
    ThreadWake& deviceChanges_;
    ThreadWake stop_;               // wakes the thread to stop at once
    std::atomic<bool> stopping_{false};  // seen within a second even without stop_'s descriptor
    std::atomic<uint64_t> announcements_{0};
    std::thread thread_;
};

}  // namespace cadenzo
