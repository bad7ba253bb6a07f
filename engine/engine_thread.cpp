#include "engine/engine_thread.h"

#include <poll.h>
#include <pthread.h>

#include "engine/dispatcher.h"
#include "midi/midi_backend.h"
#include "midi/real_time_priority.h"

namespace cadenzo {

namespace {

// Without a wake descriptor, or while a backlog waits for the outputs to
// take what went before it, the queue is looked at this often.
constexpr int kInputPollMs = 1;

}  // namespace

EngineThread::EngineThread(SystemState& state) : state_(state), thread_([this] { Run(); }) {}

EngineThread::~EngineThread() {
    stop_.store(true, std::memory_order_release);
    state_.Input.Wake.SignalAlways();
    thread_.join();
}

bool EngineThread::WaitForWake() {
    pollfd wake{state_.Input.Wake.Fd(), POLLIN, 0};
    if (wake.fd < 0 || state_.Input.Paced.load(std::memory_order_relaxed)) {
        ::poll(nullptr, 0, kInputPollMs);
        return !state_.Input.Queue.Empty();
    }
    ::poll(&wake, 1, -1);
    // Cleared before the drain, so that entries pushed during it wake again.
    state_.Input.Wake.Acknowledge();
    return true;
}

void EngineThread::Run() {
    pthread_setname_np(pthread_self(), "cadenzo-engine");
    const MidiBackend* midi = state_.Io.midi;
    const int priority = HelperPriority(kPlayingPriority, midi ? midi->ServerClientPriority() : std::nullopt);
    realTime_.store(TakeRealTimePriority(priority), std::memory_order_release);
    while (true) {
        const bool woken = WaitForWake();
        if (stop_.load(std::memory_order_acquire)) return;
        if (!woken) continue;
        EngineAccess access(state_.Engine);
        HandOff(state_);
    }
}

}  // namespace cadenzo
