// Where each process cycle starts on the steady clock the senders stamp
// their messages with, from the times the process callback wakes: a small
// locked loop that follows the earliest wake-ups (a wake is often late,
// never early), so a late wake moves a cycle's start only a little and
// stamps keep their spacing in frames. (JACK's own estimate of a cycle's time runs apart from the wall
// clock under some drivers, and on its own clock source.) Process thread
// only.
#pragma once

#include <cstdint>

#include "midi/jack/cycle_buffer.h"

namespace cadenzo {

class CycleClock {
public:
    // The cycle of `frames` at `rate` whose callback woke at `wakeMicros`.
    CycleTimes Next(uint32_t frames, uint32_t rate, uint64_t wakeMicros) {
        const int64_t nominal = rate == 0 ? 1 : int64_t{frames} * 1000000 / rate;
        const auto wake = static_cast<int64_t>(wakeMicros);
        const int64_t error = wake - (start_ + span_);
        if (start_ == 0 || frames != frames_ || rate != rate_ || error > nominal || error < -nominal) {
            // The first cycle, a new period or rate, or lost cycles: start
            // again from the wake.
            previous_ = wake - nominal;
            start_ = wake;
            span_ = nominal;
        } else {
            // Late wakes pull the start on gently; an early one at once.
            previous_ = start_;
            start_ += span_ + (error > 0 ? error / 32 : error / 2);
            span_ += error > 0 ? error / 256 : error / 32;
        }
        frames_ = frames;
        rate_ = rate;
        return {frames, static_cast<uint64_t>(start_), static_cast<uint64_t>(previous_), rate};
    }

private:
    int64_t start_ = 0;     // this cycle's start
    int64_t previous_ = 0;  // the previous cycle's start
    int64_t span_ = 0;      // a cycle's length
    uint32_t frames_ = 0;
    uint32_t rate_ = 0;
};

}  // namespace cadenzo
