// The MIDI ports of the sequencer's other clients, as the device lists show
// them. Main thread.
#pragma once

#include <string>
#include <vector>

#include <alsa/asoundlib.h>

namespace cadenzo {

struct SequencerPort {
    std::string name;         // "client:port", the name a device keeps when it is plugged in again
    std::string client;       // the client's name alone
    snd_seq_addr_t address;   // where it sits now; a device plugged in again may sit elsewhere
};

// The MIDI ports of clients other than `own` and the system whose
// capabilities include `caps` and that their programs have not kept private,
// in the sequencer's order, asked through `seq`.
std::vector<SequencerPort> ListSequencerPorts(snd_seq_t* seq, int own, unsigned caps);

// Where the port of `names[device]` sits in `ports`, counting devices of
// one name by their order; nothing when it is not there (any more).
const SequencerPort* FindListedPort(const std::vector<SequencerPort>& ports, const std::vector<SequencerPort>& names,
                                    size_t device);

}  // namespace cadenzo
