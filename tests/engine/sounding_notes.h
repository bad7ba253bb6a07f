// Which notes a stream of synthesiser messages leaves sounding: every
// note-on holds one voice of its channel and note until a note-off (or a
// note-on with velocity 0) lets one go or All Notes Off clears the channel.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "midi/short_message.h"

namespace cadenzo::test {

class SoundingNotes {
public:
    void Apply(ShortMessage m) {
        const UnpackedMessage u = UnpackShortMessage(m);
        int& voices = voices_[u.channel][u.data1 & 0x7F];
        if (u.command == 0x90 && u.data2 > 0) {
            ++voices;
        } else if (u.command == 0x80 || u.command == 0x90) {
            if (voices > 0) --voices;
        } else if (u.command == 0xB0 && u.data1 == 123) {
            voices_[u.channel].fill(0);
        }
    }
    void Apply(const std::vector<ShortMessage>& messages) {
        for (ShortMessage m : messages) Apply(m);
    }
    // "ch/note" of every voice still held; empty when all were released.
    std::vector<std::string> Held() const {
        std::vector<std::string> held;
        for (int c = 0; c < 16; ++c) {
            for (int n = 0; n < 128; ++n) {
                if (voices_[c][n] > 0) held.push_back(std::to_string(c) + "/" + std::to_string(n));
            }
        }
        return held;
    }

private:
    std::array<std::array<int, 128>, 16> voices_{};
};

}  // namespace cadenzo::test
