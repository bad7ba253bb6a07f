#include "app/thread_timer.h"

#include <cerrno>
#include <ctime>
#include <poll.h>

#include "midi/send_placement.h"

namespace cadenzo {

namespace {

constexpr long kNanosPerMilli = 1000000;
constexpr long kNanosPerSecond = 1000000000;
// A thread held up for longer than this many periods (a suspended machine,
// a debugger) starts counting again from now instead of firing the missed
// ticks back to back.
constexpr long kMaxCatchUpPeriods = 10;

void Advance(timespec& t, long nanos) {
    t.tv_nsec += nanos;
    while (t.tv_nsec >= kNanosPerSecond) {
        t.tv_nsec -= kNanosPerSecond;
        ++t.tv_sec;
    }
}

long NanosBetween(const timespec& a, const timespec& b) {
    return (b.tv_sec - a.tv_sec) * kNanosPerSecond + (b.tv_nsec - a.tv_nsec);
}

}  // namespace

ThreadTimer::~ThreadTimer() { KillEvent(id_); }

uint32_t ThreadTimer::SetEvent(uint32_t delayMs, uint32_t, TimerCallback callback, void* user) {
    if (id_ != 0 || delayMs == 0 || callback == nullptr) return 0;
    running_.store(true, std::memory_order_release);
    try {
        thread_ = std::thread(&ThreadTimer::Run, this, delayMs, callback, user);
    } catch (const std::system_error&) {
        running_.store(false);
        return 0;
    }
    id_ = ++lastId_;
    return id_;
}

void ThreadTimer::KillEvent(uint32_t id) {
    if (id == 0 || id != id_) return;
    running_.store(false, std::memory_order_seq_cst);
    stop_.Signal();
    thread_.join();
    stop_.Acknowledge();
    id_ = 0;
}

bool ThreadTimer::Rested(void* user) {
    if (!rest_.idle || !rest_.wake || rest_.wake->Fd() < 0 || stop_.Fd() < 0) return false;
    // Acknowledged before the look: a change signalled meanwhile is either
    // seen by the look or wakes the poll below.
    rest_.wake->Acknowledge();
    if (!rest_.idle(user)) return false;
    pollfd fds[2] = {{rest_.wake->Fd(), POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
    while (running_.load(std::memory_order_seq_cst) && ::poll(fds, 2, -1) < 0 && errno == EINTR) {
    }
    return true;
}

void ThreadTimer::Run(uint32_t periodMs, TimerCallback callback, void* user) {
    // Ask for real-time scheduling where it is allowed; run on without it.
    TakeRealTimePriority(priority_);

    const long period = static_cast<long>(periodMs) * kNanosPerMilli;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    Advance(deadline, period);
    while (running_.load(std::memory_order_acquire)) {
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) != 0) {
        }
        if (!running_.load(std::memory_order_acquire)) break;
        {
            // What the tick sends is meant for its deadline, however late the thread woke.
            const SendPlacementScope sendTime(static_cast<uint64_t>(deadline.tv_sec) * 1000000u +
                                         static_cast<uint64_t>(deadline.tv_nsec) / 1000u);
            callback(user);
        }
        if (Rested(user)) clock_gettime(CLOCK_MONOTONIC, &deadline);
        Advance(deadline, period);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (NanosBetween(deadline, now) > kMaxCatchUpPeriods * period) {
            deadline = now;
            Advance(deadline, period);
        }
    }
}

}  // namespace cadenzo
