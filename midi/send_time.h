// The moment a sender on its own schedule (the glide tick) means the
// messages it sends now for. A back end that places messages in time reads
// it; the others send at once. Thread-local: each sending thread sets its
// own, around its sends. While a back end that places messages in time
// plays an input event, it is that event's own moment: what the event
// causes on another thread later (the input queue keeps the moment with
// the entry) still goes out at the event's place, one period on.
#pragma once

#include <chrono>
#include <cstdint>

namespace cadenzo {

// Absolute time on the monotonic clock (std::chrono::steady_clock and
// CLOCK_MONOTONIC), in microseconds; 0 while the thread sends "now".
inline thread_local uint64_t tSendTimeMicros = 0;

// Now on that clock, in microseconds.
inline uint64_t SteadyMicros() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// Sets the thread's send time for its lifetime, then gives back the one before.
class SendTimeScope {
public:
    explicit SendTimeScope(uint64_t micros) : previous_(tSendTimeMicros) { tSendTimeMicros = micros; }
    ~SendTimeScope() { tSendTimeMicros = previous_; }
    SendTimeScope(const SendTimeScope&) = delete;
    SendTimeScope& operator=(const SendTimeScope&) = delete;

private:
    uint64_t previous_;
};

}  // namespace cadenzo
