#include "engine/terca.h"

#include "engine/input_filters.h"
#include "engine/terca_tables.h"
#include "engine/output.h"

namespace cadenzo {

int TercaNote(const SystemState& s, int i, int note) {
    if (s.Bank.WorkingMix.Channels[i].Trc == 0) return note;
    const TercaState& t = s.Terca;
    const int d = ((note - t.TercRoot) % kPitchClasses + kPitchClasses) % kPitchClasses;
    return note + TercIntervalTable[t.TercScaleType][d];
}

void TercScanKey(SystemState& s) {
    if (s.Bank.GmMode.load(std::memory_order_relaxed) || s.Options.TerciPort == 0) return;
    for (int c = 0; c < kChannels; ++c) {
        const ChannelRecord& layer = s.Bank.WorkingMix.Channels[c];
        if (layer.In1Channel == 0 && layer.In2Channel == 0) continue;
        if (s.Options.UseDrumMode != 0 && s.Options.DrumOutChannel == c) continue;
        SendToSynth(s, PackShortMessage(0xB0, static_cast<uint32_t>(c), 123, 0));
        if (layer.MD != 0) s.Performance.Channels[c].HeldNoteCount = 0;
    }
    TercaState& t = s.Terca;
    if (t.TercScanCount >= kTercScanIdle) {
        t.TercPitchSet = 0;
        t.TercScanCount = 0;
    } else {
        t.TercScanCount = kTercScanIdle;  // cancelled: root and type stay
    }
    ShowTerca(s);
}

void TerciPortChanged(SystemState& s) {
    if (s.Options.TerciPort != 0 || !TercNoteOffBlocked(s)) return;
    s.Terca.TercScanCount = kTercScanIdle;
    ShowTerca(s);
}

bool TercScanNote(SystemState& s, uint8_t port, uint8_t ch, uint8_t note) {
    TercaState& t = s.Terca;
    if (t.TercScanCount >= kTercScanIdle) return false;
    if (!PortPasses(s.Options.TerciPort, port) || !ChannelPasses(s.Options.TerciChannel, ch)) return false;
    t.TercPitchSet |= 1u << note % kPitchClasses;
    if (++t.TercScanCount < kTercScanIdle) return true;
    for (const TercChord& chord : TercChordTable) {
        if (chord.PitchSet != t.TercPitchSet) continue;
        t.TercRoot = chord.Root;
        t.TercScaleType = chord.Type;
        break;
    }
    ShowTerca(s);
    return true;
}

bool TercNoteOffBlocked(const SystemState& s) { return s.Terca.TercScanCount < kTercScanIdle; }

TercaShown TercaShownNow(const SystemState& s) {
    return {s.Terca.TercRoot, s.Terca.TercScaleType, TercNoteOffBlocked(s)};
}

void ShowTerca(SystemState& s) { s.Io.display->ShowTerca(TercaShownNow(s)); }

}  // namespace cadenzo
