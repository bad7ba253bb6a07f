// The 22 activity lamps: six port lamps and one per synthesiser channel.
// Lamps are lit from the main, MIDI and glide threads; the main window's
// 300 ms indicator timer puts them out and reads their state to draw them.
// A dark lamp that lights wakes the window (its timers rest while all are
// dark).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "midi/thread_wake.h"

namespace cadenzo {

enum Lamp : uint8_t {
    ShapeIn1,
    ShapeIn2,
    ShapeIn3,
    ShapeOut1,  // SynthOut
    ShapeOut2,  // ThruOut
    ShapeOut3,  // ControlOut
    ShapeCh1,   // ShapeCh1 + c for channel c = 0..15
    kLampCount = ShapeCh1 + 16,
};

struct LampState {
    std::array<std::atomic<uint32_t>, kLampCount> Hold{};  // ticks left before the lamp goes dark
    std::array<std::atomic<bool>, kLampCount> Lit{};       // yellow when set, silver when clear
    ThreadWake* Window = nullptr;                           // the window's wake, if there is a window
};

// Any thread: no lamp is lit or counting down.
inline bool AllLampsDark(const LampState& lamps) {
    for (int i = 0; i < kLampCount; ++i)
        if (lamps.Lit[i].load(std::memory_order_relaxed) || lamps.Hold[i].load(std::memory_order_relaxed) != 0)
            return false;
    return true;
}

// Sets the lamp's counter to 1 and lights it. Any thread.
inline void LightLamp(LampState& lamps, Lamp lamp) {
    lamps.Hold[lamp].store(1, std::memory_order_relaxed);
    if (!lamps.Lit[lamp].exchange(true, std::memory_order_relaxed) && lamps.Window) lamps.Window->Signal();
}

// Lights a port lamp only while its counter is 0. Any thread.
inline void LightPortLampIfDark(LampState& lamps, Lamp lamp) {
    if (lamps.Hold[lamp].load(std::memory_order_relaxed) == 0) LightLamp(lamps, lamp);
}

// The 300 ms indicator tick, lamp by lamp: a counter above 0 counts down,
// a counter at 0 darkens the lamp, so a lamp stays lit 300 to 600 ms after it
// was last lit. A lamp lit on another thread during the tick may stay dark
// or lit one tick longer. Main thread.
inline void IndicatorTick(LampState& lamps) {
    for (int i = 0; i < kLampCount; ++i) {
        const uint32_t hold = lamps.Hold[i].load(std::memory_order_relaxed);
        if (hold > 0)
            lamps.Hold[i].store(hold - 1, std::memory_order_relaxed);
        else
            lamps.Lit[i].store(false, std::memory_order_relaxed);
    }
}

}  // namespace cadenzo
