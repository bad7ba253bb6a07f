#include "e2e/alsa_test_client.h"

#include <thread>

#include "midi/alsa/sequencer_event.h"

namespace cadenzo::test {

AlsaTestClient::AlsaTestClient(const std::string& name, Role role) : synth_(role == Role::Synth) {
    if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) {
        seq_ = nullptr;
        return;
    }
    snd_seq_set_client_name(seq_, name.c_str());
    port_ = snd_seq_create_simple_port(
        seq_, synth_ ? "in" : "out",
        synth_ ? SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE : SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
}

AlsaTestClient::~AlsaTestClient() {
    if (seq_ != nullptr) snd_seq_close(seq_);
}

void AlsaTestClient::Send(ShortMessage m) { SendShortMessage(seq_, port_, m); }

bool AlsaTestClient::Joined() const {
    snd_seq_query_subscribe_t* query = nullptr;
    snd_seq_query_subscribe_alloca(&query);
    const snd_seq_addr_t own{static_cast<unsigned char>(snd_seq_client_id(seq_)), static_cast<unsigned char>(port_)};
    snd_seq_query_subscribe_set_root(query, &own);
    snd_seq_query_subscribe_set_type(query, synth_ ? SND_SEQ_QUERY_SUBS_WRITE : SND_SEQ_QUERY_SUBS_READ);
    snd_seq_query_subscribe_set_index(query, 0);
    return snd_seq_query_port_subscribers(seq_, query) >= 0;
}

const std::vector<ShortMessage>& AlsaTestClient::Heard() {
    snd_seq_event_t* event = nullptr;
    for (int result; !overflowed_ && (result = snd_seq_event_input(seq_, &event)) != -EAGAIN;) {
        // An overflow loses what was queued: the test has failed, it does not read on.
        overflowed_ = result == -ENOSPC;
        if (result < 0) break;
        const DecodedEvent decoded = DecodeSequencerEvent(*event);
        heard_.insert(heard_.end(), decoded.messages, decoded.messages + decoded.count);
    }
    return heard_;
}

size_t AlsaTestClient::HeardOnceQuiet(std::chrono::milliseconds quiet) {
    size_t count = Heard().size();
    for (auto since = std::chrono::steady_clock::now(); std::chrono::steady_clock::now() - since < quiet;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (Heard().size() == count) continue;
        count = Heard().size();
        since = std::chrono::steady_clock::now();
    }
    return count;
}

std::vector<SequencerClientView> ClientsNamed(const std::string& name) {
    std::vector<SequencerClientView> found;
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) return found;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        if (snd_seq_client_info_get_name(client) != name) continue;
        SequencerClientView view{snd_seq_client_info_get_client(client), {}};
        snd_seq_port_info_set_client(port, view.number);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0)
            if ((snd_seq_port_info_get_capability(port) & SND_SEQ_PORT_CAP_NO_EXPORT) == 0)
                view.ports.emplace_back(snd_seq_port_info_get_name(port));
        found.push_back(std::move(view));
    }
    snd_seq_close(seq);
    return found;
}

}  // namespace cadenzo::test
