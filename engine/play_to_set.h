// Play to set: a grid cell armed from the computer keyboard waits for the
// next note-on played on In1 or In2, which sets it instead of sounding.
// The window thread arms and applies; the dispatcher, on whichever thread
// plays input, takes the note.
#pragma once

#include <atomic>
#include <cstdint>

#include "midi/short_message.h"

namespace cadenzo {

struct PlayToSetState {
    // Column << 8 | row of the armed cell; 0 while nothing is armed.
    std::atomic<uint16_t> ArmedCell{0};
    // The armed cell << 16 | note << 8 | velocity of the note-on that
    // answered; 0 while no answer waits to be applied.
    std::atomic<uint32_t> Answer{0};
};

// The dispatcher: true when the entry is a note-on from In1 or In2 and a
// cell was armed; the note is then kept as the answer, the cell disarmed,
// and the entry plays no further.
inline bool TakeForPlayToSet(PlayToSetState& p, uint32_t entry) {
    const auto port = entry >> 24;
    const UnpackedMessage m = UnpackShortMessage(entry);
    if ((port != 1 && port != 2) || m.command != 0x90 || m.data2 == 0) return false;
    if (p.ArmedCell.load(std::memory_order_relaxed) == 0) return false;
    const uint16_t cell = p.ArmedCell.exchange(0, std::memory_order_acq_rel);
    if (cell == 0) return false;
    p.Answer.store(uint32_t{cell} << 16 | uint32_t{m.data1} << 8 | m.data2, std::memory_order_release);
    return true;
}

}  // namespace cadenzo
