// A buffer of MIDI bytes that the MIDI service delivered as one event, taken
// apart into the short messages it holds. Some services hand over several
// messages at once (a 14-bit controller as two controller messages, an RPN
// or NRPN as four). Runs on the service's thread: no allocation, no lock.
#pragma once

#include <cstddef>
#include <cstdint>

#include "midi/midi_backend.h"
#include "midi/short_message.h"

namespace cadenzo {

// Calls deliver(message) for each whole short message in bytes[0..size), in
// order. Data bytes after a channel message without a status of their own
// reuse its status (running status). A system-exclusive message is skipped
// up to its end byte; real-time bytes come out where they stand; a message
// cut short by the next status byte or the end of the buffer is dropped,
// and so are data bytes that follow no status.
template <class Deliver>
void SplitShortMessages(const uint8_t* bytes, size_t size, Deliver&& deliver) {
    uint8_t running = 0;  // the status that data bytes without one reuse
    size_t i = 0;
    while (i < size) {
        uint8_t status = bytes[i];
        if (status >= 0xF8) {  // real time: one byte, anywhere
            deliver(ShortMessage{status});
            ++i;
            continue;
        }
        if (status == 0xF0) {  // system exclusive: skipped to its end
            while (i < size && bytes[i] != 0xF7) ++i;
            ++i;
            running = 0;
            continue;
        }
        if (status < 0x80) {
            if (running == 0) {
                ++i;
                continue;
            }
            status = running;
        } else {
            ++i;
            running = status < 0xF0 ? status : 0;
        }
        const auto count = static_cast<size_t>(ShortMessageDataBytes(status));
        size_t got = 0;
        ShortMessage m = status;
        while (got < count && i < size) {
            const uint8_t byte = bytes[i];
            if (byte >= 0xF8) {
                deliver(ShortMessage{byte});  // real time comes out before the message it interrupts
            } else if (byte >= 0x80) {
                break;
            } else {
                m |= ShortMessage{byte} << (8 * ++got);
            }
            ++i;
        }
        if (got == count && status != 0xF7) deliver(m);
    }
}

}  // namespace cadenzo
