#include "engine/gm_drum_paths.h"

#include "engine/output.h"

namespace cadenzo {

namespace {

constexpr uint8_t kGmDrumChannel = 9;  // MIDI channel 10

bool IsNoteOff(uint8_t command, uint8_t d2) { return command == 0x80 || (command == 0x90 && d2 == 0); }

bool IsEffectSend(uint8_t controller) { return controller >= 91 && controller <= 93; }

// The options' drum output channel, or none when the options file holds a
// value that is no channel.
bool DrumOutChannel(const SystemState& s, uint8_t& o) {
    o = s.Options.DrumOutChannel;
    return o < kChannels;
}

}  // namespace

void GmPassThrough(SystemState& s, uint32_t entry) {
    const auto port = static_cast<uint8_t>(entry >> 24);
    const ShortMessage m = entry & 0xFFFFFFu;
    const UnpackedMessage u = UnpackShortMessage(m);
    const OptionsRecord& o = s.Options;
    if (port == o.GmPort + 1) {
        if (o.GmAutoNoteOff != 0 && u.channel == kGmDrumChannel && IsNoteOff(u.command, u.data2))
            s.DrumOff.DrumOffPending.Push({kGmDrumChannel, u.data1});
        else if (u.command == 0xB0 && IsEffectSend(u.data1))
            SendEffectSend(s, m);
        else
            SendToSynth(s, m);
        return;
    }
    if (o.GmThruMode == kThruSelectedChannel && s.Grid.Row >= 1 && s.Grid.Row <= kChannels)
        SendToSynth(s, PackShortMessage(u.command, s.Grid.Row - 1u, u.data1, u.data2));
    else if (o.GmThruMode == kThruAllChannels)
        SendToSynth(s, m);
}

void ExternalDrumPath(SystemState& s, uint8_t command, uint8_t, uint8_t d1, uint8_t d2) {
    OptionsRecord& opt = s.Options;
    uint8_t o = 0;
    if (!DrumOutChannel(s, o)) return;
    if (opt.DrumAutoNoteOff != 0 && IsNoteOff(command, d2)) {
        s.DrumOff.DrumOffPending.Push({o, d1});
        return;
    }
    if (command == 0xB0 && IsEffectSend(d1)) {
        uint8_t& send = d1 == 91 ? opt.DrumReverb : d1 == 92 ? opt.DrumDelay : opt.DrumChorus;
        send = d2;
        SendEffectSend(s, PackShortMessage(0xB0, o, d1, d2));
        return;
    }
    SendToSynth(s, PackShortMessage(command, o, d1, d2));
}

void DrumOffTimerTimer(SystemState& s) {
    DrumOffQueue& q = s.DrumOff;
    DrumNoteOff off{};
    while (q.DrumOffDue.Pop(off)) SendToSynth(s, PackShortMessage(0x80, off.channel, off.note, 0));
    while (q.DrumOffPending.Pop(off)) q.DrumOffDue.Push(off);
}

}  // namespace cadenzo
