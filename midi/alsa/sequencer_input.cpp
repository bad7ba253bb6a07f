#include "midi/alsa/sequencer_input.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <poll.h>
#include <pthread.h>

#include "midi/real_time_priority.h"

namespace cadenzo {

namespace {

constexpr auto kLookInterval = std::chrono::seconds(1);
constexpr int kMaxDescriptors = 4;

bool Announcement(snd_seq_event_type_t type) {
    return type >= SND_SEQ_EVENT_CLIENT_START && type <= SND_SEQ_EVENT_PORT_UNSUBSCRIBED;
}

}  // namespace

SequencerInput::SequencerInput(const SequencerClient& client, InputDelivery& delivery, ThreadWake& deviceChanges)
    : client_(client), delivery_(delivery), deviceChanges_(deviceChanges) {
    thread_ = std::thread(&SequencerInput::Run, this);
}

SequencerInput::~SequencerInput() {
    stopping_.store(true, std::memory_order_release);
    stop_.SignalAlways();
    thread_.join();
}

void SequencerInput::Handle(const snd_seq_event_t& event) {
    if (Announcement(event.type)) {
        announcements_.fetch_add(1, std::memory_order_release);
        deviceChanges_.Signal();
        return;
    }
    const std::optional<size_t> index = client_.PortAt(event.dest.port);
    if (index && *index < kInputPortCount) delivery_.Handle(*index, event);
}

void SequencerInput::ReadAll(snd_seq_t* seq) {
    for (;;) {
        snd_seq_event_t* event = nullptr;
        const int result = snd_seq_event_input(seq, &event);
        if (result == -EAGAIN) return;  // all read
        if (result < 0) {
            // -ENOSPC: the pool overflowed and the sequencer emptied it. Any
            // other failure leaves an event that cannot be read at the head:
            // what is queued goes. Either way a release may be among what
            // was lost, and a departure.
            if (result != -ENOSPC) snd_seq_drop_input(seq);
            delivery_.Lose();
            deviceChanges_.Signal();
            if (result != -ENOSPC) return;
            continue;
        }
        Handle(*event);
    }
}

void SequencerInput::Run() {
    pthread_setname_np(pthread_self(), "cadenzo-alsa-in");
    TakeRealTimePriority(kPlayingPriority);  // it plays what arrives at once
    snd_seq_t* seq = client_.Handle();
    pollfd fds[1 + kMaxDescriptors] = {};
    fds[0] = {stop_.Fd(), POLLIN, 0};
    const int count = snd_seq_poll_descriptors(seq, fds + 1, kMaxDescriptors, POLLIN);
    auto nextLook = std::chrono::steady_clock::now() + kLookInterval;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextLook - now).count();
        ::poll(fds, static_cast<nfds_t>(1 + std::max(count, 0)), static_cast<int>(std::max<long>(wait, 0)));
        if (stopping_.load(std::memory_order_acquire)) return;
        ReadAll(seq);
        if (std::chrono::steady_clock::now() >= nextLook) {  // a look once a second in any case
            deviceChanges_.Signal();
            nextLook = std::chrono::steady_clock::now() + kLookInterval;
        }
    }
}

}  // namespace cadenzo
