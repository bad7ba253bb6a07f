#include "midi/real_time_priority.h"

#include <pthread.h>
#include <sched.h>

namespace cadenzo {

namespace {

constexpr int kRealTimePriority = 40;

}  // namespace

bool TakeRealTimePriority() {
    sched_param parameters{};
    parameters.sched_priority = kRealTimePriority;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) == 0;
}

}  // namespace cadenzo
