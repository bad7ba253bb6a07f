// What one output has made sound, kept as its messages are sent (on the
// sending thread, without allocation): the notes and the held pedals of each
// channel. Every message must be a whole short message, as a back end sends
// it: a status byte the back end can send alone, then exactly its data
// bytes, each below 0x80.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <cstdio>

#include "midi/key_bits.h"
#include "midi/midi_backend.h"
#include "midi/short_message.h"
#include "fuzz/fuzz_folder.h"

namespace cadenzo::fuzz {

inline bool IsWholeShortMessage(ShortMessage m) {
    const auto status = static_cast<uint8_t>(m);
    const int count = ShortMessageDataBytes(status);
    if (count < 0 || status == 0xF0 || status == 0xF7 || (m >> 24) != 0) return false;
    for (int k = 1; k <= count; ++k)
        if ((m >> (8 * k) & 0x80) != 0) return false;
    return true;
}

class OutputWatch {
public:
    void Take(ShortMessage m) {
        if (!IsWholeShortMessage(m)) {
            std::fprintf(stderr, "sent 0x%06x\n", static_cast<unsigned>(m));
            Fail("a message sent is not a whole short message");
        }
        const UnpackedMessage u = UnpackShortMessage(m);
        if (u.command == 0x90 || u.command == 0x80) notes_[u.channel][u.data1] = u.command == 0x90 && u.data2 > 0;
        if (u.command != 0xB0) return;
        // All Sound Off, All Notes Off and the mode changes that imply it.
        // A pedal held on a channel the program silences so is not counted:
        // a mix change that moves the layers sends no pedal release to the
        // channels it leaves, only this.
        if (u.data1 == 120 || u.data1 >= 123) {
            notes_[u.channel].reset();
            pedals_[u.channel].reset();
        }
        for (size_t p = 0; p < kHeldPedals.size(); ++p)
            if (u.data1 == kHeldPedals[p]) pedals_[u.channel][p] = u.data2 >= 64;
    }

    // Prints what still sounds or is held down; true when nothing is.
    bool Silent(const char* output) const {
        bool silent = true;
        for (int c = 0; c < 16; ++c) {
            if (notes_[c].none() && pedals_[c].none()) continue;
            for (int n = 0; n < 128; ++n)
                if (notes_[c][n]) silent = Report(output, "note", c, n);
            for (size_t p = 0; p < kHeldPedals.size(); ++p)
                if (pedals_[c][p]) silent = Report(output, "pedal", c, kHeldPedals[p]);
        }
        return silent;
    }

    static void Tap(void* watch, ShortMessage m) { static_cast<OutputWatch*>(watch)->Take(m); }

private:
    static bool Report(const char* output, const char* what, int channel, int number) {
        std::fprintf(stderr, "%s: %s %d still on at channel %d\n", output, what, number, channel);
        return false;
    }

    std::array<std::bitset<128>, 16> notes_{};
    std::array<std::bitset<kHeldPedals.size()>, 16> pedals_{};
};

}  // namespace cadenzo::fuzz
