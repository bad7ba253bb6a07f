// The handles the JACK back end gives out for the program's ports. The ports
// themselves live as long as the client; a handle stands for the connection
// the program made to a device.
#pragma once

#include <cstddef>

#include "midi/jack/output_queue.h"
#include "midi/midi_backend.h"
#include "midi/send_placement.h"

namespace cadenzo {

class JackInput final : public MidiInputPort {
public:
    explicit JackInput(size_t port) : port_(port) {}
    size_t Port() const { return port_; }

private:
    size_t port_;  // 0..2: In1, In2, In3
};

class JackOutput final : public MidiOutputPort {
public:
    JackOutput(size_t port, OutputQueue& queue) : port_(port), queue_(queue) {}
    size_t Port() const { return port_; }

    // Placed by the sender's SendPlacement. On the process thread, while an
    // input event plays: into the cycle at its frame. Elsewhere: queued,
    // stamped with the sender's own time if it gave one, for the next
    // cycle. A sender's time is never more than a period ahead: a glide
    // tick's is its past deadline, a late input event's lies within the
    // cycle after the one that read it.
    void Send(ShortMessage m) override {
        const SendPlacement& at = SendPlacementScope::Current();
        if (at.cycleFrame) {
            queue_.WriteAt(m, *at.cycleFrame);
            return;
        }
        queue_.Push(m, at.micros != 0 ? at.micros : SteadyMicros());
    }
    bool Backlogged() const override { return queue_.Backlogged(); }

private:
    size_t port_;  // 0..2: SynthOut, ThruOut, ControlOut
    OutputQueue& queue_;
};

}  // namespace cadenzo
