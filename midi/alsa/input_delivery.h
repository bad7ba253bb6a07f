// Where the events that arrive at the program's three input ports go: the
// callback of each started port. The input thread hands each event on;
// the main thread starts and silences ports while it runs. Handing on
// decodes into short messages and allocates nothing.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

#include <alsa/asoundlib.h>

#include "midi/midi_backend.h"
#include "midi/port_names.h"

namespace cadenzo {

class InputDelivery {
public:
    // Main thread: the events at input port `index` go to `callback` from now on.
    void Start(size_t index, MidiInputCallback callback, void* context);
    // Main thread: they go nowhere from now on; returns once no callback of
    // that port is running.
    void Silence(size_t index);

    // The input thread: hands on `event`, which arrived at input port `index`.
    void Handle(size_t index, const snd_seq_event_t& event);
    // The input thread: tells every started port that events were lost.
    void Lose();

private:
    // The input thread: runs port `index`'s callback on what `deliver` makes
    // of it, unless the port is silenced.
    template <typename Action>
    void Deliver(size_t index, Action deliver);

    struct Port {
        MidiInputCallback callback = nullptr;  // written by the main thread only while not live
        void* context = nullptr;
        std::atomic<bool> live{false};
    };

    std::array<Port, kInputPortCount> ports_;
    std::atomic<int> delivering_{-1};  // the port whose callback may be running, -1: none
};

}  // namespace cadenzo
