// A client of the ALSA sequencer for end-to-end tests, standing in for a
// synthesiser (a port others send to, whose messages it keeps) or for a
// software keyboard (a port others subscribe to, sending what the test
// plays). Test thread only.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <alsa/asoundlib.h>

#include "midi/short_message.h"

namespace cadenzo::test {

class AlsaTestClient {
public:
    enum class Role { Synth, Keyboard };
    // A client `name` with one port "in" (a synthesiser) or "out" (a keyboard).
    AlsaTestClient(const std::string& name, Role role);
    ~AlsaTestClient();
    AlsaTestClient(const AlsaTestClient&) = delete;
    AlsaTestClient& operator=(const AlsaTestClient&) = delete;

    bool Ok() const { return seq_ != nullptr && port_ >= 0; }
    // Keyboard: sends `m` to its subscribers.
    void Send(ShortMessage m);
    // Whether another port is subscribed to its port.
    bool Joined() const;
    // Synthesiser: every message heard so far, up to an overflow of its
    // queue, after which it hears nothing more.
    const std::vector<ShortMessage>& Heard();
    bool Overflowed() const { return overflowed_; }
    // Synthesiser: how many messages it has heard once nothing more arrived
    // for `quiet`, reading as they come.
    size_t HeardOnceQuiet(std::chrono::milliseconds quiet);
    // Synthesiser: a queue for `events` events instead of the default 200.
    void MakeRoom(int events) { snd_seq_set_client_pool_input(seq_, static_cast<size_t>(events)); }

private:
    snd_seq_t* seq_ = nullptr;
    int port_ = -1;
    bool synth_;
    bool overflowed_ = false;
    std::vector<ShortMessage> heard_;
};

// A client of the sequencer as others see it.
struct SequencerClientView {
    int number;
    std::vector<std::string> ports;  // the ports others may see, in order
};

// The clients named `name` and their ports.
std::vector<SequencerClientView> ClientsNamed(const std::string& name);

}  // namespace cadenzo::test
