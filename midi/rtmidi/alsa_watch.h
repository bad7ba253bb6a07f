// The ALSA sequencer's devices, listed and watched through clients of the
// program's own that live as long as the back end: one lists the ports as
// RtMidi lists them ("client:port 20:0"), one is subscribed to the
// sequencer's announce port and signals, on a thread of its own, whenever a
// client or port starts, ends or changes, and once a second in any case.
// Listing through a client made for each listing would itself be announced,
// over and over.
#pragma once

#include <string>
#include <thread>
#include <vector>

#include <alsa/asoundlib.h>

#include "midi/input_wake.h"

namespace cadenzo {

class AlsaWatch {
public:
    explicit AlsaWatch(InputWake& changes);
    ~AlsaWatch();
    AlsaWatch(const AlsaWatch&) = delete;
    AlsaWatch& operator=(const AlsaWatch&) = delete;

    // Main thread: the ports whose capabilities include `caps`, in the
    // sequencer's order, named as RtMidi names them.
    std::vector<std::string> Ports(unsigned caps);

private:
    bool Subscribe();
    void Run();

    InputWake& changes_;
    snd_seq_t* list_ = nullptr;      // main thread
    snd_seq_t* announce_ = nullptr;  // the watch thread; none when the announce port could not be joined
    InputWake stop_;                 // tells the thread to end
    std::thread thread_;
};

}  // namespace cadenzo
