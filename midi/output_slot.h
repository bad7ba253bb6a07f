// One output port as the senders see it: the device number open on it and
// its handle. Sends come from the main thread, the glide thread and the MIDI
// input threads; opening and closing from the main thread. A send and a
// close never overlap: a priority-inheriting lock covers each send (the
// glide and MIDI threads may run at real-time priority), and a close first
// detaches the handle under that lock, then closes it outside.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "midi/midi_backend.h"
#include "midi/priority_mutex.h"

namespace cadenzo {

class OutputSlot {
public:
    // Any thread. Sends on the open device; returns false when none is open.
    bool Send(ShortMessage m);

    // Any thread: the device number open on the port, 0 = closed.
    uint32_t OpenNumber() const { return openNumber_.load(std::memory_order_acquire); }

    // Main thread: the port is open on device number `n` (n != 0).
    void Attach(std::unique_ptr<MidiOutputPort> handle, uint32_t n);
    // Main thread: the device open on the port is listed as number `n` now.
    void Renumber(uint32_t n) { openNumber_.store(n, std::memory_order_release); }
    // Main thread: marks the port closed and hands its handle out once no
    // send is using it any more.
    std::unique_ptr<MidiOutputPort> Detach();

private:
    std::atomic<uint32_t> openNumber_{0};
    PriorityInheritingMutex lock_;
    std::unique_ptr<MidiOutputPort> handle_;
};

}  // namespace cadenzo
