#include "midi/rtmidi/alsa_watch.h"

#include <poll.h>

namespace cadenzo {

namespace {

constexpr int kPollMs = 1000;

bool MidiPort(unsigned type) {
    return (type & (SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_APPLICATION)) != 0;
}

}  // namespace

AlsaWatch::AlsaWatch(InputWake& changes) : changes_(changes) {
    if (snd_seq_open(&list_, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0) list_ = nullptr;
    if (list_) snd_seq_set_client_name(list_, "Cadenzo list");
    if (!Subscribe() && announce_ != nullptr) {
        snd_seq_close(announce_);
        announce_ = nullptr;
    }
    thread_ = std::thread(&AlsaWatch::Run, this);
}

AlsaWatch::~AlsaWatch() {
    stop_.Signal();
    thread_.join();
    if (announce_ != nullptr) snd_seq_close(announce_);
    if (list_ != nullptr) snd_seq_close(list_);
}

bool AlsaWatch::Subscribe() {
    if (snd_seq_open(&announce_, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0) {
        announce_ = nullptr;
        return false;
    }
    snd_seq_set_client_name(announce_, "Cadenzo watch");
    const int port = snd_seq_create_simple_port(announce_, "watch", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                                SND_SEQ_PORT_TYPE_APPLICATION);
    return port >= 0 && snd_seq_connect_from(announce_, port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE) >= 0;
}

std::vector<std::string> AlsaWatch::Ports(unsigned caps) {
    std::vector<std::string> names;
    if (list_ == nullptr) return names;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(list_, client) >= 0) {
        const int number = snd_seq_client_info_get_client(client);
        if (number == SND_SEQ_CLIENT_SYSTEM) continue;
        snd_seq_port_info_set_client(port, number);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(list_, port) >= 0) {
            if (!MidiPort(snd_seq_port_info_get_type(port)) || (snd_seq_port_info_get_capability(port) & caps) != caps)
                continue;
            names.push_back(std::string(snd_seq_client_info_get_name(client)) + ":" + snd_seq_port_info_get_name(port) +
                            " " + std::to_string(number) + ":" + std::to_string(snd_seq_port_info_get_port(port)));
        }
    }
    return names;
}

void AlsaWatch::Run() {
    std::vector<pollfd> fds(1);
    fds[0] = {stop_.Fd(), POLLIN, 0};
    if (announce_ != nullptr) {
        const int count = snd_seq_poll_descriptors_count(announce_, POLLIN);
        fds.resize(1 + static_cast<size_t>(count));
        snd_seq_poll_descriptors(announce_, fds.data() + 1, static_cast<unsigned>(count), POLLIN);
    }
    for (;;) {
        const int ready = ::poll(fds.data(), fds.size(), kPollMs);
        if (fds[0].revents != 0) return;
        if (announce_ == nullptr || ready <= 0) {  // a look once a second in any case
            changes_.Signal();
            continue;
        }
        // Every event of the announce port is a client or port starting,
        // ending or changing; an overrun (lost events) counts as well.
        snd_seq_event_t* event = nullptr;
        bool announced = false;
        for (;;) {
            const int result = snd_seq_event_input(announce_, &event);
            if (result < 0 && result != -ENOSPC) break;  // -EAGAIN: all read
            announced = true;
        }
        if (announced) changes_.Signal();
    }
}

}  // namespace cadenzo
