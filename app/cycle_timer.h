// The glide's timer where the MIDI service keeps time of its own (JACK):
// the tick runs in the service's cycles, at its own frame among what they
// play, so its steps keep their spacing whatever else the cycle writes and
// a note played before a step is heard before it. Where the service keeps
// no time, or for any period but a millisecond, the fallback timer ticks.
#pragma once

#include "engine/glide_timer.h"
#include "midi/midi_backend.h"

namespace cadenzo {

class CycleTimer final : public MultimediaTimer {
public:
    CycleTimer(MidiBackend& midi, MultimediaTimer& fallback) : midi_(midi), fallback_(fallback) {}
    ~CycleTimer() override { KillEvent(kCycleEvent); }
    CycleTimer(const CycleTimer&) = delete;
    CycleTimer& operator=(const CycleTimer&) = delete;

    TimerCaps GetDevCaps() override { return fallback_.GetDevCaps(); }
    void BeginPeriod(uint32_t ms) override { fallback_.BeginPeriod(ms); }
    void AllowRest(TimerRest rest) override {
        rest_ = rest;
        fallback_.AllowRest(rest);
    }
    uint32_t SetEvent(uint32_t delayMs, uint32_t resolutionMs, TimerCallback callback, void* user) override;
    void KillEvent(uint32_t id) override;
    void EndPeriod(uint32_t ms) override { fallback_.EndPeriod(ms); }

private:
    // The id of the event that runs in the cycles; the fallback's ids are
    // small counts that never reach it.
    static constexpr uint32_t kCycleEvent = 0x80000000u;

    MidiBackend& midi_;
    MultimediaTimer& fallback_;
    TimerRest rest_;
    bool ticking_ = false;
};

}  // namespace cadenzo
