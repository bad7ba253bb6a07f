#include "midi/alsa/sequencer_client.h"

#include <algorithm>

#include <unistd.h>

#include "midi/port_names.h"

namespace cadenzo {

namespace {

// Room for a burst: a stalled program finds what arrived meanwhile still
// queued (the sequencer's limit for one client).
constexpr int kInputPool = 2000;

// The sequencer, or null; its device is asked first, as a failed open makes
// the ALSA library complain aloud.
snd_seq_t* OpenSequencer() {
    snd_seq_t* seq = nullptr;
    if (::access("/dev/snd/seq", R_OK | W_OK) != 0 ||
        snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        return nullptr;
    return seq;
}

}  // namespace

bool SequencerClient::Opens() {
    snd_seq_t* probe = OpenSequencer();
    if (probe != nullptr) snd_seq_close(probe);
    return probe != nullptr;
}

SequencerClient::SequencerClient(const std::string& name) : seq_(OpenSequencer()), service_(OpenSequencer()) {
    if (seq_ != nullptr && service_ != nullptr && Build(name)) return;
    Close();
}

SequencerClient::~SequencerClient() { Close(); }

void SequencerClient::Close() {
    if (seq_ != nullptr) snd_seq_close(seq_);  // ends every subscription of its ports
    if (service_ != nullptr) snd_seq_close(service_);
    seq_ = nullptr;
    service_ = nullptr;
}

bool SequencerClient::Build(const std::string& name) {
    if (snd_seq_set_client_name(seq_, name.c_str()) < 0 ||
        snd_seq_set_client_name(service_, (name + " service").c_str()) < 0)
        return false;
    // A smaller pool only makes bursts overflow sooner: not a reason to stop.
    [[maybe_unused]] const int pooled = snd_seq_set_client_pool_input(seq_, kInputPool);
    for (size_t i = 0; i < ports_.size(); ++i) {
        const unsigned caps = i < kInputPortCount ? SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE
                                              : SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
        ports_[i] = snd_seq_create_simple_port(seq_, kPortNames[i], caps,
                                               SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (ports_[i] < 0) return false;
    }
    const int announce = snd_seq_create_simple_port(seq_, "announcements", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                                    SND_SEQ_PORT_TYPE_APPLICATION);
    return announce >= 0 &&
           snd_seq_connect_from(seq_, announce, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE) >= 0;
}

snd_seq_addr_t SequencerClient::Address(size_t index) const {
    return {static_cast<unsigned char>(snd_seq_client_id(seq_)), static_cast<unsigned char>(ports_[index])};
}

std::optional<size_t> SequencerClient::PortAt(int port) const {
    const auto it = std::find(ports_.begin(), ports_.end(), port);
    if (it == ports_.end()) return std::nullopt;
    return static_cast<size_t>(it - ports_.begin());
}

}  // namespace cadenzo
