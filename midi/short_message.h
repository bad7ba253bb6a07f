// Packing and unpacking of 32-bit short messages: status in bits 0..7, first
// data byte in bits 8..15, second in bits 16..23; bits 24..31 are zero on
// output and carry the input port tag inside the input queue.
#pragma once

#include <array>
#include <cstddef>
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

// A message from its status and data bytes, each data byte cut to its
// seven bits.
constexpr ShortMessage ShortMessageOfBytes(uint32_t status, uint32_t data1 = 0, uint32_t data2 = 0) {
    return (status & 0xFF) | (data1 & 0x7F) << 8 | (data2 & 0x7F) << 16;
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

// Number of data bytes that follow a status byte in a short message.
constexpr int ShortMessageDataBytes(uint8_t status) {
    if (status < 0x80) return -1;  // not a status byte
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 1;
    case 0xF0:
        switch (status) {
        case 0xF1:
        case 0xF3:
            return 1;
        case 0xF2:
            return 2;
        default:
            return 0;
        }
    default:
        return 2;
    }
}

// The most bytes one outgoing word stands for: the master volume's eight.
inline constexpr size_t kMaxMessageBytes = 8;

// The bytes of a word on its way to a device: a short message's status and
// as many data bytes as it calls for, or the master volume's system-exclusive
// message; 0 for a word whose low byte is no status.
constexpr size_t MessageBytes(ShortMessage m, std::array<uint8_t, kMaxMessageBytes>& bytes) {
    const auto status = static_cast<uint8_t>(m & 0xFF);
    const auto low = static_cast<uint8_t>((m >> 8) & 0x7F);
    const auto high = static_cast<uint8_t>((m >> 16) & 0x7F);
    if (status == kMasterVolumeStatus) {
        bytes = {0xF0, 0x7F, 0x7F, 0x04, 0x01, low, high, 0xF7};
        return bytes.size();
    }
    const int dataBytes = ShortMessageDataBytes(status);
    if (dataBytes < 0) return 0;
    bytes[0] = status;
    bytes[1] = low;
    bytes[2] = high;
    return static_cast<size_t>(dataBytes) + 1;
}

// note moved by a layer's Trs byte (64 = none) and the master transposition,
// clamped to 0..127.
constexpr uint8_t TransposeNote(int32_t note, int32_t trs, int32_t masterTranspose) {
    const int32_t n = note + trs + masterTranspose - 64;
    return static_cast<uint8_t>(n < 0 ? 0 : n > 127 ? 127 : n);
}

}  // namespace cadenzo
