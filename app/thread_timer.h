// The real periodic timer: one thread that calls back at absolute
// deadlines, so the ticks do not drift (35 ticks take 35 ms). Allowed to
// rest, the thread sleeps on the wake while the callback has nothing to do
// and starts counting periods afresh when woken.
#pragma once

#include <atomic>
#include <thread>

#include "engine/glide_timer.h"
#include "midi/real_time_priority.h"

namespace cadenzo {

class ThreadTimer final : public MultimediaTimer {
public:
    // The thread runs at SCHED_FIFO `priority` where allowed (0: normal).
    explicit ThreadTimer(int priority = kGlidePriority) : priority_(priority) {}
    ~ThreadTimer() override;
    TimerCaps GetDevCaps() override { return {1, 1000}; }
    void BeginPeriod(uint32_t) override {}
    void AllowRest(TimerRest rest) override { rest_ = rest; }
    // One event at a time; a second SetEvent while one runs returns 0.
    uint32_t SetEvent(uint32_t delayMs, uint32_t resolutionMs, TimerCallback callback,
                      void* user) override;
    void KillEvent(uint32_t id) override;
    void EndPeriod(uint32_t) override {}

private:
    void Run(uint32_t periodMs, TimerCallback callback, void* user);
    // After a callback: rests while there is nothing to do; whether it did.
    bool Rested(void* user);

    TimerRest rest_;
    ThreadWake stop_;  // ends a rest when the event is killed
    std::thread thread_;
    std::atomic<bool> running_{false};
    int priority_;
    uint32_t id_ = 0;
    uint32_t lastId_ = 0;
};

}  // namespace cadenzo
