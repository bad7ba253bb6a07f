// A subscription that carries a device's events to a port of the program,
// or the program's to a device. Main thread (service calls), on the
// service handle: the sequencer lets a third party subscribe ports that
// allow it, as the program's do.
#pragma once

#include <alsa/asoundlib.h>

namespace cadenzo {

struct Subscription {
    snd_seq_addr_t sender;
    snd_seq_addr_t dest;
};

enum class Subscribed { Made, Existing, Refused };

// Makes the subscription: Made when the program made it; Existing when it
// was in force already (someone else made it: it is used, never removed);
// Refused otherwise (a port held exclusively by another client, say).
Subscribed Subscribe(snd_seq_t* seq, const Subscription& subscription);
// Ends it; a subscription the sequencer already ended (its device left) is no error.
void Unsubscribe(snd_seq_t* seq, const Subscription& subscription);
// Whether the sequencer holds it now. It ends it when either port leaves,
// so a device plugged in again at the same address is not subscribed.
bool InForce(snd_seq_t* seq, const Subscription& subscription);

}  // namespace cadenzo
