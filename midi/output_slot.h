// One output port as the senders see it: the device number open on it and
// its handle. Sends come from the main thread, the glide tick and the MIDI
// input threads (under JACK the process thread), several at once; opening
// and closing from the main thread. A send and a close never overlap, and
// no send ever waits: a sender counts itself in before it looks for the
// handle and out after its send, and a close first takes the handle away,
// then waits until no sender is counted in, then closes it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "midi/midi_backend.h"

namespace cadenzo {

class OutputSlot {
public:
    // Any thread. Sends on the open device; returns false when none is open.
    bool Send(ShortMessage m);
    // Any thread: the open device's buffer for the calling thread is more
    // than three quarters full (MidiOutputPort::Backlogged).
    bool Backlogged();

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
    // The handle while a sender is counted in; null when none is open.
    class InUse;

    std::atomic<uint32_t> openNumber_{0};
    std::atomic<uint32_t> senders_{0};              // senders counted in
    std::atomic<MidiOutputPort*> handle_{nullptr};  // what senders use
    std::unique_ptr<MidiOutputPort> owned_;         // main thread only
};

}  // namespace cadenzo
