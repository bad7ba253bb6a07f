#include "engine/glide_timer.h"

#include <algorithm>

#include "services/dialogs.h"

namespace cadenzo {

uint32_t ChooseGlideTimerPeriod(TimerCaps caps) {
    return std::min(std::max(caps.PeriodMin, 1u), caps.PeriodMax);
}

GlideTimer::GlideTimer(MultimediaTimer& timer, Dialogs& dialogs, TimerCallback tick, void* user, TimerRest rest)
    : timer_(timer), period_(ChooseGlideTimerPeriod(timer.GetDevCaps())) {
    timer_.BeginPeriod(period_);
    timer_.AllowRest(rest);
    id_ = timer_.SetEvent(period_, period_, tick, user);
    if (id_ == 0) dialogs.MessageBox("timeSetEvent", "ERRORR!", MessageIcon::Error);
}

GlideTimer::~GlideTimer() {
    timer_.KillEvent(id_);
    timer_.EndPeriod(period_);
}

}  // namespace cadenzo
