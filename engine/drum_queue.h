// The drum note-off queue: notes whose note-off the drum timer sends later,
// each on the channel its note-on went to, in two rings (pending, then due
// at the next timer tick). Main thread only.
#pragma once

#include <array>
#include <cstdint>

namespace cadenzo {

// A note-off the timer is to send.
struct DrumNoteOff {
    uint8_t channel;  // 0..15, where the note-on went
    uint8_t note;
    bool operator==(const DrumNoteOff&) const = default;
};

// A ring of note-offs with room for 1023; a push into a full ring is
// refused so that the notes already queued stay intact.
class DrumNoteRing {
public:
    static constexpr uint32_t kSize = 1024;

    bool Push(DrumNoteOff note) {
        const uint32_t next = (write_ + 1) % kSize;
        if (next == read_) return false;
        notes_[write_] = note;
        write_ = next;
        return true;
    }
    bool Pop(DrumNoteOff& note) {
        if (read_ == write_) return false;
        note = notes_[read_];
        read_ = (read_ + 1) % kSize;
        return true;
    }
    bool Empty() const { return read_ == write_; }

private:
    std::array<DrumNoteOff, kSize> notes_{};
    uint32_t write_ = 0;
    uint32_t read_ = 0;
};

struct DrumOffQueue {
    DrumNoteRing DrumOffPending;  // queued since the last timer tick
    DrumNoteRing DrumOffDue;      // sent at the next timer tick
};

}  // namespace cadenzo
