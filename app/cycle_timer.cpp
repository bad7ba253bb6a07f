#include "app/cycle_timer.h"

namespace cadenzo {

uint32_t CycleTimer::SetEvent(uint32_t delayMs, uint32_t resolutionMs, TimerCallback callback, void* user) {
    if (!ticking_ && delayMs == 1 && callback != nullptr && midi_.StartCycleTick(callback, user, rest_.idle)) {
        ticking_ = true;
        return kCycleEvent;
    }
    return fallback_.SetEvent(delayMs, resolutionMs, callback, user);
}

void CycleTimer::KillEvent(uint32_t id) {
    if (id != kCycleEvent) {
        fallback_.KillEvent(id);
        return;
    }
    if (!ticking_) return;
    midi_.StopCycleTick();
    ticking_ = false;
}

}  // namespace cadenzo
