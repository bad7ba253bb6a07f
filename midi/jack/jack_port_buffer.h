// A JACK MIDI port's buffer for one process cycle. Process thread only.
#pragma once

#include <jack/jack.h>
#include <jack/midiport.h>

#include "midi/jack/cycle_buffer.h"

namespace cadenzo {

class JackPortBuffer final : public CycleBuffer {
public:
    // An output's buffer is cleared for the cycle.
    JackPortBuffer(jack_port_t* port, jack_nframes_t frames, bool output)
        : buffer_(jack_port_get_buffer(port, frames)) {
        if (output) jack_midi_clear_buffer(buffer_);
    }

    uint32_t EventCount() const override { return jack_midi_get_event_count(buffer_); }
    bool Event(uint32_t index, MidiEvent& event) const override {
        jack_midi_event_t e;
        if (jack_midi_event_get(&e, buffer_, index) != 0) return false;
        event = {e.time, e.buffer, e.size};
        return true;
    }
    bool Write(uint32_t frame, const uint8_t* bytes, size_t size) override {
        return jack_midi_event_write(buffer_, frame, bytes, size) == 0;
    }

private:
    void* buffer_;
};

}  // namespace cadenzo
