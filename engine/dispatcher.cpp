#include "engine/dispatcher.h"

#include "engine/bend.h"
#include "engine/gm_drum_paths.h"
#include "engine/input_filters.h"
#include "engine/layers.h"
#include "engine/mix_steps.h"
#include "engine/monitor_feed.h"
#include "engine/note_routing.h"
#include "engine/pedals.h"
#include "engine/remote_control.h"
#include "engine/ring_across.h"
#include "engine/terca.h"
#include "engine/input_callbacks.h"
#include "engine/output.h"
#include "midi/send_placement.h"

namespace cadenzo {

namespace {

// Sent once per listening layer, on the layer's own channel, data unchanged.
void CopyToListeningLayers(SystemState& s, uint8_t port, const UnpackedMessage& m) {
    for (int i = 0; i < kChannels; ++i) {
        if (LayerReceives(s, i, port, m.channel))
            SendToSynth(s, PackShortMessage(m.command, static_cast<uint32_t>(i), m.data1, m.data2));
    }
}

// The glide tick sends the new wheel term at its next tick.
void SetWheelBend(SystemState& s, int i, uint32_t position) {
    ChannelPerformance& p = s.Performance.Channels[i];
    p.WheelBend.store(ScaledWheel(position, s.Bank.WorkingMix.BendRange), std::memory_order_relaxed);
    p.BendDirty.store(true, std::memory_order_release);
    WantGlideTick(s.Performance);
}

void Controller(SystemState& s, uint8_t port, const UnpackedMessage& m) {
    if (FootswitchControl(s, m.data1, m.data2)) return;
    const OptionsRecord& o = s.Options;
    if (m.data1 == o.MasterVolumeCC && PortPasses(o.MasterVolumePort, port)) {
        MasterVolumeControl(s, port, m.channel, m.data2);
        return;
    }
    // A controller number above 127 (no device sends one) counts as blocked.
    if (m.data1 >= o.CCBlocked.size() || o.CCBlocked[m.data1] != 0) return;
    PlayerPedal(s, port, m.channel, m.data1, m.data2);
    if (HoldsNotes(m.data1) && m.data2 < 64) CarriedPedalRelease(s, port, m.channel);
    CopyToListeningLayers(s, port, m);
}

// A layer with AT set turns pressure into an upward bend; pressure 0 equals
// the centred wheel. Other layers get the pressure itself.
void ChannelPressure(SystemState& s, uint8_t port, const UnpackedMessage& m) {
    for (int i = 0; i < kChannels; ++i) {
        if (!LayerReceives(s, i, port, m.channel)) continue;
        if (s.Bank.WorkingMix.Channels[i].AT != 0)
            SetWheelBend(s, i, ((m.data1 >> 1) + 64u) * 128u);
        else
            SendToSynth(s, PackShortMessage(0xD0, static_cast<uint32_t>(i), m.data1, m.data2));
    }
}

void PitchWheel(SystemState& s, uint8_t port, const UnpackedMessage& m) {
    for (int i = 0; i < kChannels; ++i) {
        if (LayerReceives(s, i, port, m.channel)) SetWheelBend(s, i, m.data2 * 128u + m.data1);
    }
}

void Route(SystemState& s, uint8_t port, UnpackedMessage m) {
    if (m.command == 0x90 && m.data2 == 0) m.command = 0x80;
    switch (m.command) {
    case 0x80:
        if (!TercNoteOffBlocked(s))
            NoteOffRouting(s, port, m.channel, m.data1, m.data2, CarriedNoteOff(s, port, m.channel, m.data1, m.data2));
        break;
    case 0x90:
        if (!TercScanNote(s, port, m.channel, m.data1)) NoteOnRouting(s, port, m.channel, m.data1, m.data2);
        break;
    case 0xA0:
        CopyToListeningLayers(s, port, m);
        break;
    case 0xB0:
        Controller(s, port, m);
        break;
    case 0xC0:
        ProgramSelect(s, port, m.channel, m.data1);
        break;
    case 0xD0:
        ChannelPressure(s, port, m);
        break;
    case 0xE0:
        PitchWheel(s, port, m);
        break;
    default:
        break;
    }
}

}  // namespace

void NoteProgramMessage(SystemState& s, uint32_t messageId) {
    if (ReadShared(s.Options.MonitorSource) == kMonitorProgramMessages) MonitorWindowMessage(s, messageId);
}

void DispatchPending(SystemState& s) {
    uint32_t entry = 0;
    uint64_t micros = 0;
    s.Input.Paced.store(false, std::memory_order_relaxed);
    while (!DispatchHeld(s.Input)) {
        // A backlog (what waited behind a message box) fans out over the
        // layers faster than a cycle takes it: the rest waits in the queue,
        // whose releases are owed, until the outputs have room again.
        if (s.Ports.SynthOut.Backlogged() || s.Ports.ThruOut.Backlogged() || s.Ports.ControlOut.Backlogged()) {
            s.Input.Paced.store(true, std::memory_order_relaxed);
            s.Input.Wake.Signal();
            return;
        }
        if (s.Input.Queue.Pop(entry, micros)) {
            const SendPlacementScope at(micros);  // its input event's moment, or none
            ProcessInputEntry(s, entry);
            continue;
        }
        // The queue ran empty: the releases it had to refuse go now, before
        // anything their inputs send later.
        const bool owedIn1 = s.Input.Owed[0].TakeOwed([&](ShortMessage m) { ProcessInputEntry(s, m + kIn1Tag); });
        const bool owedIn2 = s.Input.Owed[1].TakeOwed([&](ShortMessage m) { ProcessInputEntry(s, m + kIn2Tag); });
        if (!owedIn1 && !owedIn2) break;
    }
}

void HandOff(SystemState& s) {
    NoteProgramMessage(s, kHandOffMessage);
    DispatchPending(s);
}

void PlayOrWake(SystemState& s) {
    if (!DispatchHeld(s.Input) && s.Engine.TryLock()) {
        HandOff(s);
        s.Engine.Unlock();
        return;
    }
    s.Input.Wake.Signal();
}

void ProcessInputEntry(SystemState& s, uint32_t entry) {
    const auto port = static_cast<uint8_t>(entry >> 24);
    const UnpackedMessage m = UnpackShortMessage(entry);
    if (m.command == 0xF0) return;  // system messages leave only through the thru paths
    if (port == 1) LightLamp(s.Lamps, ShapeIn1);
    if (port == 2) LightLamp(s.Lamps, ShapeIn2);
    if (TakeForPlayToSet(s.PlayToSet, entry)) {
        s.WindowWake.Signal();  // the window's tick sets the cell
        return;
    }
    if (s.Bank.GmMode.load(std::memory_order_relaxed)) {
        GmPassThrough(s, entry);
        return;
    }
    const OptionsRecord& o = s.Options;
    if (o.UseDrumMode != 0 && port == o.DrumInPort + 1 && m.channel == o.DrumInChannel) {
        ExternalDrumPath(s, m.command, m.channel, m.data1, m.data2);
        return;
    }
    Route(s, port, m);
}

}  // namespace cadenzo
