#include "midi/alsa/sequencer_event.h"

#include "midi/midi_backend.h"

namespace cadenzo {

namespace {

constexpr uint8_t kDataEntryMsb = 0x06;
constexpr uint8_t kFinePartnerOffset = 0x20;  // controller n's least significant half is n + 32, for n < 32
constexpr uint8_t kNrpnMsb = 0x63;
constexpr uint8_t kRpnMsb = 0x65;

// Note and controller events both begin with the channel.
uint8_t Channel(const snd_seq_event_t& e) { return e.data.control.channel & 0x0F; }

void Add(DecodedEvent& decoded, ShortMessage m) { decoded.messages[decoded.count++] = m; }

void AddController14(DecodedEvent& d, const snd_seq_event_t& e) {
    const uint32_t status = 0xB0 | Channel(e);
    const auto number = e.data.control.param;
    const auto value = static_cast<uint32_t>(e.data.control.value);
    if (number >= kFinePartnerOffset) {
        Add(d, ShortMessageOfBytes(status, number, value));
        return;
    }
    Add(d, ShortMessageOfBytes(status, number, value >> 7));
    Add(d, ShortMessageOfBytes(status, number + kFinePartnerOffset, value));
}

// An RPN or NRPN: `msb` is the controller of its number's upper half, the
// next one down holds the lower half.
void AddParameter(DecodedEvent& d, const snd_seq_event_t& e, uint8_t msb) {
    const uint32_t status = 0xB0 | Channel(e);
    const auto number = e.data.control.param;
    const auto value = static_cast<uint32_t>(e.data.control.value);
    Add(d, ShortMessageOfBytes(status, msb, number >> 7));
    Add(d, ShortMessageOfBytes(status, msb - 1u, number));
    Add(d, ShortMessageOfBytes(status, kDataEntryMsb, value >> 7));
    Add(d, ShortMessageOfBytes(status, kDataEntryMsb + kFinePartnerOffset, value));
}

// System messages of one byte, by event type.
uint8_t SystemStatus(snd_seq_event_type_t type) {
    switch (type) {
    case SND_SEQ_EVENT_TUNE_REQUEST: return 0xF6;
    case SND_SEQ_EVENT_CLOCK: return 0xF8;
    case SND_SEQ_EVENT_TICK: return 0xF9;
    case SND_SEQ_EVENT_START: return 0xFA;
    case SND_SEQ_EVENT_CONTINUE: return 0xFB;
    case SND_SEQ_EVENT_STOP: return 0xFC;
    case SND_SEQ_EVENT_SENSING: return 0xFE;
    case SND_SEQ_EVENT_RESET: return 0xFF;
    default: return 0;
    }
}

bool SetSystem(snd_seq_event_t& e, snd_seq_event_type_t type, int value = 0) {
    e.type = type;
    snd_seq_ev_set_fixed(&e);
    e.data.control.value = value;
    return true;
}

}  // namespace

DecodedEvent DecodeSequencerEvent(const snd_seq_event_t& e) {
    DecodedEvent d{};
    const snd_seq_ev_note_t& note = e.data.note;
    const snd_seq_ev_ctrl_t& control = e.data.control;
    switch (e.type) {
    case SND_SEQ_EVENT_NOTEON: Add(d, ShortMessageOfBytes(0x90 | Channel(e), note.note, note.velocity)); break;
    case SND_SEQ_EVENT_NOTEOFF: Add(d, ShortMessageOfBytes(0x80 | Channel(e), note.note, note.velocity)); break;
    case SND_SEQ_EVENT_KEYPRESS: Add(d, ShortMessageOfBytes(0xA0 | Channel(e), note.note, note.velocity)); break;
    case SND_SEQ_EVENT_CONTROLLER: Add(d, ShortMessageOfBytes(0xB0 | Channel(e), control.param, static_cast<uint32_t>(control.value))); break;
    case SND_SEQ_EVENT_PGMCHANGE: Add(d, ShortMessageOfBytes(0xC0 | Channel(e), static_cast<uint32_t>(control.value))); break;
    case SND_SEQ_EVENT_CHANPRESS: Add(d, ShortMessageOfBytes(0xD0 | Channel(e), static_cast<uint32_t>(control.value))); break;
    case SND_SEQ_EVENT_PITCHBEND: Add(d, PackPitchBend(Channel(e), control.value + 8192)); break;
    case SND_SEQ_EVENT_CONTROL14: AddController14(d, e); break;
    case SND_SEQ_EVENT_REGPARAM: AddParameter(d, e, kRpnMsb); break;
    case SND_SEQ_EVENT_NONREGPARAM: AddParameter(d, e, kNrpnMsb); break;
    case SND_SEQ_EVENT_QFRAME: Add(d, ShortMessageOfBytes(0xF1, static_cast<uint32_t>(control.value))); break;
    case SND_SEQ_EVENT_SONGPOS: {
        const auto position = static_cast<uint32_t>(control.value);
        Add(d, ShortMessageOfBytes(0xF2, position, position >> 7));
        break;
    }
    case SND_SEQ_EVENT_SONGSEL: Add(d, ShortMessageOfBytes(0xF3, static_cast<uint32_t>(control.value))); break;
    default:
        if (const uint8_t status = SystemStatus(e.type)) Add(d, ShortMessageOfBytes(status));
        break;
    }
    return d;
}

bool EncodeSequencerEvent(ShortMessage m, snd_seq_event_t& e) {
    const UnpackedMessage u = UnpackShortMessage(m);
    const uint8_t status = m & 0xFF;
    const uint8_t channel = u.channel;
    const uint8_t data1 = u.data1 & 0x7F;
    const uint8_t data2 = u.data2 & 0x7F;
    switch (u.command) {
    case 0x80: snd_seq_ev_set_noteoff(&e, channel, data1, data2); return true;
    case 0x90: snd_seq_ev_set_noteon(&e, channel, data1, data2); return true;
    case 0xA0: snd_seq_ev_set_keypress(&e, channel, data1, data2); return true;
    case 0xB0: snd_seq_ev_set_controller(&e, channel, data1, data2); return true;
    case 0xC0: snd_seq_ev_set_pgmchange(&e, channel, data1); return true;
    case 0xD0: snd_seq_ev_set_chanpress(&e, channel, data1); return true;
    case 0xE0: snd_seq_ev_set_pitchbend(&e, channel, (data1 | data2 << 7) - 8192); return true;
    default: break;
    }
    switch (status) {
    case 0xF1: return SetSystem(e, SND_SEQ_EVENT_QFRAME, data1);
    case 0xF2: return SetSystem(e, SND_SEQ_EVENT_SONGPOS, data1 | data2 << 7);
    case 0xF3: return SetSystem(e, SND_SEQ_EVENT_SONGSEL, data1);
    case 0xF6: return SetSystem(e, SND_SEQ_EVENT_TUNE_REQUEST);
    case 0xF8: return SetSystem(e, SND_SEQ_EVENT_CLOCK);
    case 0xF9: return SetSystem(e, SND_SEQ_EVENT_TICK);
    case 0xFA: return SetSystem(e, SND_SEQ_EVENT_START);
    case 0xFB: return SetSystem(e, SND_SEQ_EVENT_CONTINUE);
    case 0xFC: return SetSystem(e, SND_SEQ_EVENT_STOP);
    case 0xFE: return SetSystem(e, SND_SEQ_EVENT_SENSING);
    case 0xFF: return SetSystem(e, SND_SEQ_EVENT_RESET);
    default: return false;
    }
}

int SendShortMessage(snd_seq_t* seq, int port, ShortMessage m) {
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    // The system-exclusive bytes live until the direct send has copied them.
    std::array<uint8_t, kMaxMessageBytes> sysex{};
    if ((m & 0xFF) == kMasterVolumeStatus)
        snd_seq_ev_set_sysex(&event, static_cast<unsigned>(MessageBytes(m, sysex)), sysex.data());
    else if (!EncodeSequencerEvent(m, event))
        return 0;
    snd_seq_ev_set_source(&event, port);
    snd_seq_ev_set_subs(&event);
    snd_seq_ev_set_direct(&event);
    return snd_seq_event_output_direct(seq, &event);
}

}  // namespace cadenzo
