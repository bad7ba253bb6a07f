#include "midi/alsa/sequencer_ports.h"

#include <algorithm>

namespace cadenzo {

namespace {

bool MidiPort(unsigned type) {
    return (type & (SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_APPLICATION)) != 0;
}

// A port others may use: one with the capabilities asked for that its
// program has not kept private.
bool Offered(unsigned capability, unsigned caps) {
    return (capability & caps) == caps && (capability & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}

}  // namespace

std::vector<SequencerPort> ListSequencerPorts(snd_seq_t* seq, int own, unsigned caps) {
    std::vector<SequencerPort> ports;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int number = snd_seq_client_info_get_client(client);
        if (number == SND_SEQ_CLIENT_SYSTEM || number == own) continue;
        snd_seq_port_info_set_client(port, number);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            if (!MidiPort(snd_seq_port_info_get_type(port)) || !Offered(snd_seq_port_info_get_capability(port), caps))
                continue;
            const std::string clientName = snd_seq_client_info_get_name(client);
            ports.push_back({clientName + ":" + snd_seq_port_info_get_name(port), clientName,
                             *snd_seq_port_info_get_addr(port)});
        }
    }
    return ports;
}

const SequencerPort* FindListedPort(const std::vector<SequencerPort>& ports, const std::vector<SequencerPort>& names,
                                    size_t device) {
    const std::string& name = names[device].name;
    auto occurrence = std::count_if(names.begin(), names.begin() + static_cast<long>(device),
                                    [&](const SequencerPort& p) { return p.name == name; });
    for (const SequencerPort& port : ports)
        if (port.name == name && occurrence-- == 0) return &port;
    return nullptr;
}

}  // namespace cadenzo
