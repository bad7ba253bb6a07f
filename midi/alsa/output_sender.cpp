#include "midi/alsa/output_sender.h"

#include <algorithm>

#include <poll.h>
#include <pthread.h>

namespace cadenzo {

namespace {

// How long the thread naps before it asks a receiver without room again,
// and how often it looks without a wake descriptor.
constexpr int kNapMs = 1;

}  // namespace

OutputSender::OutputSender() : thread_(&OutputSender::Run, this) {}

OutputSender::~OutputSender() {
    stopping_.store(true);
    wake_.SignalAlways();
    thread_.join();
}

void OutputSender::Add(size_t port, PacedOutput& output) {
    const std::lock_guard guard(lock_);
    outputs_.at(port - kInputPortCount) = &output;
}

void OutputSender::Remove(PacedOutput& output, std::chrono::milliseconds wait) {
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    while (!output.Idle() && std::chrono::steady_clock::now() < giveUp) {
        wake_.Signal();
        ::poll(nullptr, 0, kNapMs);
    }
    {
        const std::lock_guard guard(lock_);
        std::replace(outputs_.begin(), outputs_.end(), &output, static_cast<PacedOutput*>(nullptr));
    }
    output.DropQueued();
}

void OutputSender::Run() {
    pthread_setname_np(pthread_self(), "cadenzo-alsa-out");
    bool waiting = false;  // a receiver had no room: ask again after a nap
    for (;;) {
        pollfd wake{wake_.Fd(), POLLIN, 0};
        ::poll(&wake, wake.fd >= 0 ? 1 : 0, waiting || wake.fd < 0 ? kNapMs : -1);
        if (stopping_.load()) return;
        // Cleared first, so that what is queued during the drain wakes again.
        wake_.Acknowledge();
        waiting = false;
        const auto now = std::chrono::steady_clock::now();
        const std::lock_guard guard(lock_);
        for (PacedOutput* output : outputs_)
            if (output != nullptr) waiting |= output->Drain(now);
    }
}

}  // namespace cadenzo
