// The periodic timer that drives the glide tick, and the platform timer it
// runs on. The timer's callback runs on the timer's own thread.
#pragma once

#include <cstdint>

#include "midi/thread_wake.h"

namespace cadenzo {

class Dialogs;

struct TimerCaps {
    uint32_t PeriodMin;  // smallest supported period, ms
    uint32_t PeriodMax;  // largest supported period, ms
};

using TimerCallback = void (*)(void* user);

// What lets a timer's thread rest: whenever `idle(user)` holds after a
// callback, the thread waits for `wake` instead of calling back every period.
struct TimerRest {
    bool (*idle)(void* user) = nullptr;
    ThreadWake* wake = nullptr;
};

// The platform's high-resolution periodic timer. Real: a thread with
// absolute deadlines; tests: a double that ticks on request.
class MultimediaTimer {
public:
    virtual ~MultimediaTimer() = default;
    virtual TimerCaps GetDevCaps() = 0;
    virtual void BeginPeriod(uint32_t ms) = 0;
    // Before SetEvent: the event may rest as `rest` says. By default it never does.
    virtual void AllowRest(TimerRest) {}
    // Starts a periodic event; returns its id, 0 when it could not be made.
    virtual uint32_t SetEvent(uint32_t delayMs, uint32_t resolutionMs, TimerCallback callback,
                              void* user) = 0;
    // Stops the event and returns once its callback can no longer run.
    // Id 0 (or an unknown id) is ignored.
    virtual void KillEvent(uint32_t id) = 0;
    virtual void EndPeriod(uint32_t ms) = 0;
};

// The smallest supported period raised to at least 1, then lowered to at
// most the largest.
uint32_t ChooseGlideTimerPeriod(TimerCaps caps);

// Starts the periodic glide tick at construction and stops it at
// destruction. A timer that cannot be created is reported ("timeSetEvent",
// "ERRORR!", error icon) and the program runs on without the tick. The tick
// may rest as `rest` says while it has nothing to do.
class GlideTimer {
public:
    GlideTimer(MultimediaTimer& timer, Dialogs& dialogs, TimerCallback tick, void* user, TimerRest rest = {});
    ~GlideTimer();
    GlideTimer(const GlideTimer&) = delete;
    GlideTimer& operator=(const GlideTimer&) = delete;

    uint32_t Period() const { return period_; }
    uint32_t Id() const { return id_; }

private:
    MultimediaTimer& timer_;
    uint32_t period_;
    uint32_t id_;
};

}  // namespace cadenzo
