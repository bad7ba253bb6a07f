// Sequencer events as the program's short messages, and back: every kind of
// event a keyboard or a sequencer sends, and what the program does not play.
#include <vector>

#include <gtest/gtest.h>

#include "midi/alsa/sequencer_event.h"

namespace cadenzo {
namespace {

snd_seq_event_t Event(snd_seq_event_type_t type, int channel, int a, int b) {
    snd_seq_event_t e{};
    e.type = type;
    if (type <= SND_SEQ_EVENT_KEYPRESS) {
        e.data.note.channel = static_cast<unsigned char>(channel);
        e.data.note.note = static_cast<unsigned char>(a);
        e.data.note.velocity = static_cast<unsigned char>(b);
    } else {
        e.data.control.channel = static_cast<unsigned char>(channel);
        e.data.control.param = static_cast<unsigned>(a);
        e.data.control.value = b;
    }
    return e;
}

std::vector<ShortMessage> Decode(const snd_seq_event_t& e) {
    const DecodedEvent decoded = DecodeSequencerEvent(e);
    return {decoded.messages, decoded.messages + decoded.count};
}

TEST(SequencerEvent, EachEventIsTheShortMessagesItStandsFor) {
    using Messages = std::vector<ShortMessage>;
    const struct {
        snd_seq_event_t event;
        Messages expected;
    } rows[] = {
        {Event(SND_SEQ_EVENT_NOTEON, 0, 0x3C, 0x64), {0x643C90}},
        {Event(SND_SEQ_EVENT_NOTEON, 3, 0x3C, 0), {0x003C93}},  // a note-on of velocity 0 stays one
        {Event(SND_SEQ_EVENT_NOTEOFF, 15, 0x3C, 0x40), {0x403C8F}},
        {Event(SND_SEQ_EVENT_KEYPRESS, 1, 0x3C, 0x10), {0x103CA1}},
        {Event(SND_SEQ_EVENT_CONTROLLER, 2, 64, 127), {0x7F40B2}},
        {Event(SND_SEQ_EVENT_PGMCHANGE, 5, 0, 42), {0x2AC5}},
        {Event(SND_SEQ_EVENT_CHANPRESS, 5, 0, 0x40), {0x40D5}},
        {Event(SND_SEQ_EVENT_PITCHBEND, 0, 0, 0), {0x4000E0}},           // centre
        {Event(SND_SEQ_EVENT_PITCHBEND, 0, 0, -8192), {0x0000E0}},
        {Event(SND_SEQ_EVENT_PITCHBEND, 0, 0, 8191), {0x7F7FE0}},
        {Event(SND_SEQ_EVENT_PITCHBEND, 0, 0, 100000), {0x7F7FE0}},      // out of range: clamped
        {Event(SND_SEQ_EVENT_CONTROL14, 0, 7, 0x3210), {0x6407B0, 0x1027B0}},  // coarse and fine halves
        {Event(SND_SEQ_EVENT_CONTROL14, 0, 70, 0x3210), {0x1046B0}},     // no fine partner
        {Event(SND_SEQ_EVENT_NONREGPARAM, 3, 0x82, 0x2000), {0x0163B3, 0x0262B3, 0x4006B3, 0x0026B3}},
        {Event(SND_SEQ_EVENT_REGPARAM, 0, 0, 0x600), {0x0065B0, 0x0064B0, 0x0C06B0, 0x0026B0}},
        {Event(SND_SEQ_EVENT_QFRAME, 0, 0, 0x35), {0x35F1}},
        {Event(SND_SEQ_EVENT_SONGPOS, 0, 0, 0x1010), {0x2010F2}},
        {Event(SND_SEQ_EVENT_SONGSEL, 0, 0, 3), {0x03F3}},
        {Event(SND_SEQ_EVENT_TUNE_REQUEST, 0, 0, 0), {0xF6}},
        {Event(SND_SEQ_EVENT_CLOCK, 0, 0, 0), {0xF8}},
        {Event(SND_SEQ_EVENT_START, 0, 0, 0), {0xFA}},
        {Event(SND_SEQ_EVENT_STOP, 0, 0, 0), {0xFC}},
        {Event(SND_SEQ_EVENT_SENSING, 0, 0, 0), {0xFE}},
        {Event(SND_SEQ_EVENT_RESET, 0, 0, 0), {0xFF}},
        {Event(SND_SEQ_EVENT_NOTEON, 0x13, 0xBC, 0xE4), {0x643C93}},     // garbage above 7 bits is cut
        {Event(SND_SEQ_EVENT_SYSEX, 0, 0, 0), {}},
        {Event(SND_SEQ_EVENT_PORT_EXIT, 0, 0, 0), {}},
        {Event(SND_SEQ_EVENT_NOTE, 0, 0x3C, 0x64), {}},                   // a note with a length: not played
        {Event(static_cast<snd_seq_event_type_t>(250), 0, 1, 2), {}},
    };
    for (const auto& row : rows) EXPECT_EQ(Decode(row.event), row.expected) << "event type " << int(row.event.type);
}

TEST(SequencerEvent, WhatIsSentComesBackAsItWas) {
    for (const ShortMessage m : {0x643C90u, 0x003C80u, 0x103CA1u, 0x7F40B2u, 0x2AC5u, 0x40D5u, 0x4000E0u, 0x0000EFu,
                                 0x7F7FE0u, 0x35F1u, 0x2010F2u, 0x03F3u, 0xF6u, 0xF8u, 0xF9u, 0xFAu, 0xFBu, 0xFCu,
                                 0xFEu, 0xFFu}) {
        snd_seq_event_t e{};
        ASSERT_TRUE(EncodeSequencerEvent(m, e)) << std::hex << m;
        EXPECT_EQ(Decode(e), std::vector<ShortMessage>{m}) << std::hex << m;
    }
    for (const ShortMessage m : {0xF0u, 0xF7u, 0xF4u, 0xFDu, 0x3Cu}) {
        snd_seq_event_t e{};
        EXPECT_FALSE(EncodeSequencerEvent(m, e)) << std::hex << m;
    }
}

}  // namespace
}  // namespace cadenzo
