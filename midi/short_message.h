// Packing and unpacking of 32-bit short messages: status in bits 0..7, first
// data byte in bits 8..15, second in bits 16..23; bits 24..31 are zero on
// output and carry the input port tag inside the input queue.
#pragma once

#include <cstdint>

namespace cadenzo {

using ShortMessage = uint32_t;

struct UnpackedMessage {
    uint8_t command;  // status with the channel nibble cleared (0x80..0xF0)
    uint8_t channel;  // low nibble of the status
    uint8_t data1;
    uint8_t data2;
};

// Channel messages have a status below 0xF0; system messages the rest.
constexpr bool IsChannelMessage(ShortMessage m) { return (m & 0xFF) < 0xF0; }

// command is a status byte with the channel nibble clear; the channel is
// added, not or-ed. Each argument counts with its low 8 bits.
constexpr ShortMessage PackShortMessage(uint32_t command, uint32_t channel, uint32_t data1,
                                        uint32_t data2) {
    return ((command & 0xFF) + (channel & 0xFF) + (data1 & 0xFF) * 0x100 + (data2 & 0xFF) * 0x10000) &
           0xFFFFFFu;
}

constexpr UnpackedMessage UnpackShortMessage(ShortMessage m) {
    return {static_cast<uint8_t>(m & 0xF0), static_cast<uint8_t>(m & 0x0F),
            static_cast<uint8_t>(m >> 8), static_cast<uint8_t>(m >> 16)};
}

// A pitch bend on `channel`; `value` has its centre at 8192 and is clamped
// to 0..16383.
constexpr ShortMessage PackPitchBend(uint32_t channel, int32_t value) {
    const uint32_t v = value < 0 ? 0u : value > 16383 ? 16383u : static_cast<uint32_t>(value);
    return 0xE0 + (channel & 0x0F) + (v & 0x7F) * 0x100 + (v >> 7) * 0x10000;
}

// The one system-exclusive message the program sends, the General MIDI
// master volume F0 7F 7F 04 01 ll mm F7, travels to the back ends as one
// word like a short message: status 0xF0, which begins no short message,
// then the volume's low and high seven bits (ll, mm). Inputs never make
// such a word: what they receive of a system-exclusive message is skipped.
inline constexpr uint8_t kMasterVolumeStatus = 0xF0;

// Master volume `volume` (0..127, more counts as 127) scaled to the 14-bit
// range, 127 being 0x3FFF.
constexpr ShortMessage PackMasterVolume(uint32_t volume) {
    const uint32_t v = (volume > 127 ? 127u : volume) * 0x3FFFu / 127u;
    return kMasterVolumeStatus + (v & 0x7F) * 0x100 + (v >> 7) * 0x10000;
}

// note moved by a layer's Trs byte (64 = none) and the master transposition,
// clamped to 0..127.
constexpr uint8_t TransposeNote(int32_t note, int32_t trs, int32_t masterTranspose) {
    const int32_t n = note + trs + masterTranspose - 64;
    return static_cast<uint8_t>(n < 0 ? 0 : n > 127 ? 127 : n);
}

}  // namespace cadenzo
