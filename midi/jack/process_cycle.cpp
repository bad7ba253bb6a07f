#include "midi/jack/process_cycle.h"

#include <algorithm>

#include "midi/send_placement.h"
#include "midi/short_message_split.h"

namespace cadenzo {

namespace {

// The next event of each input, merged in frame order (ties: port order).
class MergedInputs {
public:
    explicit MergedInputs(const std::array<CycleBuffer*, kJackInputCount>& inputs) : inputs_(inputs) {
        for (size_t port = 0; port < kJackInputCount; ++port) Load(port);
    }

    // The earliest event left and its port; false when none is.
    bool Next(MidiEvent& event, size_t& port) {
        bool found = false;
        for (size_t p = 0; p < kJackInputCount; ++p) {
            if (!loaded_[p] || (found && next_[p].frame >= event.frame)) continue;
            event = next_[p];
            port = p;
            found = true;
        }
        if (!found) return false;
        ++index_[port];
        Load(port);
        return true;
    }

private:
    void Load(size_t port) {
        CycleBuffer* input = inputs_[port];
        loaded_[port] = false;
        while (input != nullptr && !loaded_[port] && index_[port] < input->EventCount()) {
            loaded_[port] = input->Event(index_[port], next_[port]);
            if (!loaded_[port]) ++index_[port];  // unreadable: skipped
        }
    }

    const std::array<CycleBuffer*, kJackInputCount>& inputs_;
    std::array<uint32_t, kJackInputCount> index_{};
    std::array<MidiEvent, kJackInputCount> next_{};
    std::array<bool, kJackInputCount> loaded_{};
};

// The moment the event at `frame` stands for: a message stamped with it
// goes out at the same frame one period later (the middle of the frame, so
// that a cycle clock a few microseconds off still finds the frame).
uint64_t FrameMicros(const CycleTimes& times, uint32_t frame) {
    const uint64_t start = times.startMicros;
    const uint64_t span = std::max<uint64_t>(start - std::min(times.previousStartMicros, start), 1);
    return start + (2 * uint64_t{frame} + 1) * span / (2 * uint64_t{times.frames});
}

// Runs the ticks that fall before `frame`, each at its own frame, after
// the queued messages placed up to there.
void RunTicksBefore(uint32_t frame, const InputBindings::Reading& reading,
                    std::array<OutputQueue, kJackOutputCount>& queues, const CycleTimes& times) {
    const TickBinding& tick = reading.Tick();
    if (tick.tick == nullptr || times.rate == 0) return;
    uint64_t& next = reading.NextTick();
    for (; next / 1000 < frame; next += times.rate) {
        const auto at = static_cast<uint32_t>(next / 1000);
        if (tick.idle != nullptr && tick.idle(tick.user)) continue;
        for (OutputQueue& queue : queues) queue.PlaceSentUpTo(at);
        const SendPlacementScope playing(at, FrameMicros(times, at));
        tick.tick(tick.user);
    }
}

}  // namespace

void RunCycle(const std::array<CycleBuffer*, kJackInputCount>& inputs,
              const std::array<CycleBuffer*, kJackOutputCount>& outputs, InputBindings& bindings,
              std::array<OutputQueue, kJackOutputCount>& queues, const CycleTimes& times) {
    if (times.frames == 0) return;
    for (size_t o = 0; o < kJackOutputCount; ++o) queues[o].Begin(*outputs[o], times);
    {
        const InputBindings::Reading reading(bindings);
        MergedInputs merged(inputs);
        MidiEvent event{};
        size_t port = 0;
        while (merged.Next(event, port)) {
            const InputBinding& binding = reading.Of(port);
            if (!reading.Started(port) || binding.callback == nullptr) continue;
            const uint32_t frame = event.frame < times.frames ? event.frame : times.frames - 1;
            RunTicksBefore(frame, reading, queues, times);
            for (OutputQueue& queue : queues) queue.PlaceSentUpTo(frame);
            // What the event causes goes out at its frame, or later from
            // the input queue at its moment.
            const SendPlacementScope playing(frame, FrameMicros(times, frame));
            SplitShortMessages(event.bytes, event.size,
                               [&binding](ShortMessage m) { binding.callback(binding.context, kMimData, m); });
        }
        RunTicksBefore(times.frames, reading, queues, times);
        uint64_t& next = reading.NextTick();
        next = reading.Tick().tick == nullptr ? 0 : next - std::min<uint64_t>(next, uint64_t{times.frames} * 1000);
    }
    for (OutputQueue& queue : queues) queue.End();
}

}  // namespace cadenzo
