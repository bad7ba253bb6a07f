#include "midi/real_time_priority.h"

#include <algorithm>
#include <cerrno>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>

namespace cadenzo {

namespace {

// A sanitizer's shadow memory is terabytes of address space reserved
// without backing: locking it would take all the memory there is.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kShadowMemory = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kShadowMemory = true;
#else
constexpr bool kShadowMemory = false;
#endif
#else
constexpr bool kShadowMemory = false;
#endif

}  // namespace

int HelperPriority(int wanted, std::optional<int> server) {
    if (!server) return std::max(wanted, 0);
    return std::clamp(*server - 1, 0, std::max(wanted, 0));
}

bool TakeRealTimePriority(int priority) {
    if (priority <= 0) return false;
    sched_param parameters{};
    parameters.sched_priority = priority;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) == 0;
}

int LockAllMemory() {
    if (kShadowMemory) return ENOTSUP;
    return ::mlockall(MCL_CURRENT | MCL_FUTURE) == 0 ? 0 : errno;
}

}  // namespace cadenzo
