// The drum note-off queue: notes whose note-off the drum timer sends later,
// in two rings (pending, then due at the next timer tick). Main thread only.
#pragma once

#include <array>
#include <cstdint>

namespace cadenzo {

// A ring of note numbers with room for 1023; a push into a full ring is
// refused so that the notes already queued stay intact.
class DrumNoteRing {
public:
    static constexpr uint32_t kSize = 1024;

    bool Push(uint8_t note) {
        const uint32_t next = (write_ + 1) % kSize;
        if (next == read_) return false;
        notes_[write_] = note;
        write_ = next;
        return true;
    }
    bool Pop(uint8_t& note) {
        if (read_ == write_) return false;
        note = notes_[read_];
        read_ = (read_ + 1) % kSize;
        return true;
    }
    bool Empty() const { return read_ == write_; }

private:
    std::array<uint8_t, kSize> notes_{};
    uint32_t write_ = 0;
    uint32_t read_ = 0;
};

struct DrumOffQueue {
    DrumNoteRing DrumOffPending;  // queued since the last timer tick
    DrumNoteRing DrumOffDue;      // sent at the next timer tick
};

}  // namespace cadenzo
