// Sequencer events and the program's short messages, converted both ways
// without allocation: the input thread decodes what arrives at the
// program's ports, the senders encode what goes out of them and send it.
#pragma once

#include <cstddef>

#include <alsa/asoundlib.h>

#include "midi/short_message.h"

namespace cadenzo {

// The most short messages one event stands for: an RPN or NRPN event is
// the four controller messages that set it.
inline constexpr size_t kMaxMessagesPerEvent = 4;

struct DecodedEvent {
    ShortMessage messages[kMaxMessagesPerEvent];
    size_t count;  // 0: the event is no MIDI message (system exclusive, an announcement, ...)
};

// The short messages of a MIDI event: channel messages, a 14-bit controller
// as its two controller messages (most significant first) where its number
// has a fine partner, an RPN or NRPN as parameter number and data entry
// controllers, and the one-, two- and three-byte system messages.
DecodedEvent DecodeSequencerEvent(const snd_seq_event_t& event);

// Fills `event` with the MIDI event for short message `m` and returns true;
// false, leaving it as it was, for a message no event stands for.
bool EncodeSequencerEvent(ShortMessage m, snd_seq_event_t& event);

// Sends `m` (a short message or the master volume's word) from port `port`
// of client `seq` to the port's subscribers at once, without waiting: the
// library's result (negative: refused, as when the sequencer's pool is
// full); 0 for a message no event stands for.
int SendShortMessage(snd_seq_t* seq, int port, ShortMessage m);

}  // namespace cadenzo
