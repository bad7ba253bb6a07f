// One process cycle as the JACK back end sees it: the MIDI buffer of a port
// for the cycle, and the cycle's place in time. Real: JACK's port buffers
// (jack_port_buffer.h); tests: fixed arrays, so the cycle runs without a
// server.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cadenzo {

struct MidiEvent {
    uint32_t frame;        // offset in the cycle
    const uint8_t* bytes;  // valid for the cycle
    size_t size;
};

class CycleBuffer {
public:
    virtual ~CycleBuffer() = default;
    // An input's events of the cycle, in frame order.
    virtual uint32_t EventCount() const = 0;
    virtual bool Event(uint32_t index, MidiEvent& event) const = 0;
    // Appends an event to an output at `frame`, which is never before the
    // last one written; false when the buffer is full.
    virtual bool Write(uint32_t frame, const uint8_t* bytes, size_t size) = 0;
};

// Where a cycle sits on the steady clock (microseconds).
struct CycleTimes {
    uint32_t frames;              // the period
    uint64_t startMicros;         // when this cycle's first frame was due
    uint64_t previousStartMicros; // when the previous cycle's first frame was due
    uint32_t rate = 0;            // frames a second (0: unknown)
};

}  // namespace cadenzo
