// Where in time the messages a thread sends now go out: its send placement,
// set around those sends by a SendPlacementScope and read by
// MidiOutputPort::Send of a back end that places messages in time (JACK;
// the ALSA back end sends at once). Three senders set one:
// - the JACK process thread, while it plays an input event or a tick: the
//   event's frame in the cycle being played (what is sent goes straight into
//   the cycle's buffers there) and the moment the frame stands for;
// - the glide tick's timer thread: the tick's deadline;
// - whoever plays a queued input entry: the moment its input event stood
//   for, so that what it causes on another thread later still goes out at
//   the event's place, one period on (the input queue keeps the moment with
//   the entry, read here by the input callbacks).
// Each thread has its own; setting and reading allocate nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace cadenzo {

struct SendPlacement {
    // Absolute time on the monotonic clock (std::chrono::steady_clock and
    // CLOCK_MONOTONIC), in microseconds; 0: now.
    uint64_t micros = 0;
    // The frame within the JACK cycle the process thread is playing.
    std::optional<uint32_t> cycleFrame;
};

// Now on that clock, in microseconds.
inline uint64_t SteadyMicros() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// Sets the calling thread's placement for its lifetime, then gives back the
// one before.
class SendPlacementScope {
public:
    // The process thread: at `frame` of the cycle, standing for `micros`.
    SendPlacementScope(uint32_t frame, uint64_t micros) : previous_(current_) { current_ = {micros, frame}; }
    // At `micros` (0: now). A cycle frame in force stays: an entry played at
    // once on the process thread is written at the frame being played.
    explicit SendPlacementScope(uint64_t micros) : previous_(current_) { current_.micros = micros; }
    ~SendPlacementScope() { current_ = previous_; }
    SendPlacementScope(const SendPlacementScope&) = delete;
    SendPlacementScope& operator=(const SendPlacementScope&) = delete;

    // The calling thread's placement: now, outside every scope.
    static const SendPlacement& Current() { return current_; }

private:
    static inline thread_local SendPlacement current_{};
    SendPlacement previous_;
};

}  // namespace cadenzo
