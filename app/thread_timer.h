// The real periodic timer: one thread that calls back at absolute
// deadlines, so the ticks do not drift (35 ticks take 35 ms).
#pragma once

#include <atomic>
#include <thread>

#include "app/glide_timer.h"

namespace cadenzo {

class ThreadTimer final : public MultimediaTimer {
public:
    ~ThreadTimer() override;
    TimerCaps GetDevCaps() override { return {1, 1000}; }
    void BeginPeriod(uint32_t) override {}
    // One event at a time; a second SetEvent while one runs returns 0.
    uint32_t SetEvent(uint32_t delayMs, uint32_t resolutionMs, TimerCallback callback,
                      void* user) override;
    void KillEvent(uint32_t id) override;
    void EndPeriod(uint32_t) override {}

private:
    void Run(uint32_t periodMs, TimerCallback callback, void* user);

    std::thread thread_;
    std::atomic<bool> running_{false};
    uint32_t id_ = 0;
    uint32_t lastId_ = 0;
};

}  // namespace cadenzo
