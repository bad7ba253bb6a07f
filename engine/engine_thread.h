// The MIDI engine thread: the playing path's way round a busy engine. An
// input callback that finds the engine lock free dispatches its entry
// itself; one that does not (or while the dispatch is held) leaves it queued
// and wakes this thread, which takes the lock and hands the queue to the
// dispatcher. It runs at real-time priority where the system allows it,
// below the MIDI service's own real-time thread (midi/real_time_priority.h),
// at normal priority otherwise. Whoever dispatches, the window learns what to
// redraw through the display's deferred calls and the monitor queue.
// Created and destroyed on the main thread, while the message loop runs.
#pragma once

#include <atomic>
#include <thread>

#include "engine/system_state.h"

namespace cadenzo {

class EngineThread {
public:
    explicit EngineThread(SystemState& state);
    // Stops the thread once its pass has ended and waits for it.
    ~EngineThread();
    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    // Whether the system gave the thread its real-time priority.
    bool RealTime() const { return realTime_.load(std::memory_order_acquire); }

private:
    void Run();
    // Sleeps until the input wake, or without one until the next look at
    // the queue; returns whether there may be input to hand off.
    bool WaitForWake();

    SystemState& state_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> realTime_{false};
    std::thread thread_;
};

}  // namespace cadenzo
