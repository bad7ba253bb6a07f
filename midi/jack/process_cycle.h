// The work of one JACK process cycle, apart from JACK itself: the three
// inputs' events are played in frame order, each through its port's
// callback there and then; whatever a callback sends goes into the output
// buffers at that event's own frame, and what other threads sent waits in
// each output's queue for its place. Process thread only: no allocation, no
// lock, no system call.
#pragma once

#include <array>
#include <cstdint>

#include "midi/jack/cycle_buffer.h"
#include "midi/jack/input_bindings.h"
#include "midi/jack/output_queue.h"

namespace cadenzo {

inline constexpr size_t kJackOutputCount = 3;

void RunCycle(const std::array<CycleBuffer*, kJackInputCount>& inputs,
              const std::array<CycleBuffer*, kJackOutputCount>& outputs, InputBindings& bindings,
              std::array<OutputQueue, kJackOutputCount>& queues, const CycleTimes& times);

}  // namespace cadenzo
