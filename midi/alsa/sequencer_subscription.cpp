#include "midi/alsa/sequencer_subscription.h"

#include <cerrno>

namespace cadenzo {

namespace {

snd_seq_port_subscribe_t* Fill(snd_seq_port_subscribe_t* info, const Subscription& subscription) {
    snd_seq_port_subscribe_set_sender(info, &subscription.sender);
    snd_seq_port_subscribe_set_dest(info, &subscription.dest);
    return info;
}

}  // namespace

Subscribed Subscribe(snd_seq_t* seq, const Subscription& subscription) {
    snd_seq_port_subscribe_t* info = nullptr;
    snd_seq_port_subscribe_alloca(&info);
    const int result = snd_seq_subscribe_port(seq, Fill(info, subscription));
    if (result >= 0) return Subscribed::Made;
    // The sequencer says "busy" both for a subscription that exists and for
    // a port another client holds exclusively.
    return result == -EBUSY && InForce(seq, subscription) ? Subscribed::Existing : Subscribed::Refused;
}

void Unsubscribe(snd_seq_t* seq, const Subscription& subscription) {
    snd_seq_port_subscribe_t* info = nullptr;
    snd_seq_port_subscribe_alloca(&info);
    snd_seq_unsubscribe_port(seq, Fill(info, subscription));
}

bool InForce(snd_seq_t* seq, const Subscription& subscription) {
    snd_seq_port_subscribe_t* info = nullptr;
    snd_seq_port_subscribe_alloca(&info);
    return snd_seq_get_port_subscription(seq, Fill(info, subscription)) >= 0;
}

}  // namespace cadenzo
