// A subscription that carries a device's events to a port of the program,
// or the program's to a device. Main thread (service calls).
#pragma once

#include <alsa/asoundlib.h>

namespace cadenzo {

struct Subscription {
    snd_seq_addr_t sender;
    snd_seq_addr_t dest;
};

// Makes the subscription; true when it is in force, also when it already was.
bool Subscribe(snd_seq_t* seq, const Subscription& subscription);
// Ends it; a subscription the sequencer already ended (its device left) is no error.
void Unsubscribe(snd_seq_t* seq, const Subscription& subscription);
// Whether the sequencer holds it now. It ends it when either port leaves,
// so a device plugged in again at the same address is not subscribed.
bool Subscribed(snd_seq_t* seq, const Subscription& subscription);

}  // namespace cadenzo
