#include "engine/input_callbacks.h"

#include "engine/dispatcher.h"
#include "engine/monitor_feed.h"
#include "engine/system_state.h"
#include "midi/midi_backend.h"
#include "midi/send_placement.h"

namespace cadenzo {

namespace {

uint8_t MonitorSource(const SystemState& s) { return ReadShared(s.Options.MonitorSource); }

// Every entry passes the queue, so the inputs' messages keep their order;
// with it goes its input event's moment, where the back end gives one, so
// that what it causes keeps its place in time when another thread plays it.
// A full queue refuses the entry and keeps the pending ones; a refused
// release of a press it took is owed (and queued before anything later of
// its input), anything else is lost and counted.
void Enqueue(SystemState& s, unsigned input, ShortMessage m) {
    OwedReleases& owed = s.Input.Owed[input];
    const uint32_t tag = input == 0 ? kIn1Tag : kIn2Tag;
    const uint64_t micros = SendPlacementScope::Current().micros;
    if (owed.QueueOwed([&](ShortMessage r) { return s.Input.Queue.Push(r + tag, micros); }) &&
        s.Input.Queue.Push(m + tag, micros))
        owed.Taken(m);
    else if (!owed.Refused(m))
        s.Input.Lost.fetch_add(1, std::memory_order_relaxed);
    PlayOrWake(s);
}

void SendThru(SystemState& s, ShortMessage m) {
    if (s.Ports.ThruOut.Send(m) && IsChannelMessage(m)) LightPortLampIfDark(s.Lamps, ShapeOut2);
}

// What arrived at the input was lost on the way: a release may have been
// among it, so the input lets go of what its device held, through its own
// callback, as if the device had let go of it.
bool LetGoOnLoss(void* context, uint16_t kind, unsigned input, MidiInputCallback callback) {
    if (kind != kMimDataLost) return false;
    auto& s = *static_cast<SystemState*>(context);
    s.Input.Lost.fetch_add(1, std::memory_order_relaxed);
    s.Ports.Inputs[input].Held.ForEachRelease([&](ShortMessage release) { callback(context, kMimData, release); });
    return true;
}

}  // namespace

void In1Callback(void* context, uint16_t kind, ShortMessage m) {
    if (LetGoOnLoss(context, kind, 0, &In1Callback) || kind != kMimData) return;
    auto& s = *static_cast<SystemState*>(context);
    s.Ports.Inputs[0].Held.Track(m);
    Enqueue(s, 0, m);
    if (MonitorSource(s) == kMonitorIn1) MonitorShortMessage(s, m + kIn1Tag);
    if (s.Bank.GmMode.load(std::memory_order_relaxed) && ReadShared(s.Options.GmMidiThru) != 0) {
        if (MonitorSource(s) == kMonitorThruOut) MonitorShortMessage(s, m);
        SendThru(s, m);
    }
}

void In2Callback(void* context, uint16_t kind, ShortMessage m) {
    if (LetGoOnLoss(context, kind, 1, &In2Callback) || kind != kMimData) return;
    auto& s = *static_cast<SystemState*>(context);
    s.Ports.Inputs[1].Held.Track(m);
    Enqueue(s, 1, m);
    if (MonitorSource(s) == kMonitorIn2) MonitorShortMessage(s, m + kIn2Tag);
}

void In3Callback(void* context, uint16_t kind, ShortMessage m) {
    if (LetGoOnLoss(context, kind, 2, &In3Callback) || kind != kMimData) return;
    auto& s = *static_cast<SystemState*>(context);
    s.Ports.Inputs[2].Held.Track(m);
    if (IsChannelMessage(m)) LightLamp(s.Lamps, ShapeIn3);
    const uint8_t source = MonitorSource(s);
    if (source == kMonitorIn3 || source == kMonitorThruOut) MonitorShortMessage(s, m);
    SendThru(s, m);
}

}  // namespace cadenzo
