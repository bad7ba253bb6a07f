#include "engine/input_callbacks.h"

#include "engine/dispatcher.h"
#include "engine/system_state.h"
#include "midi/midi_backend.h"
#include "services/monitor.h"

namespace cadenzo {

namespace {

bool IsData(uint16_t kind) { return kind == kMimData || kind == kMimMoreData; }

uint8_t MonitorSource(const SystemState& s) { return ReadShared(s.Options.MonitorSource); }

// Every entry passes the queue, so the inputs' messages keep their order.
void Enqueue(SystemState& s, ShortMessage tagged) {
    // A full queue refuses the entry; the pending ones are kept intact.
    if (s.Input.Queue.Push(tagged)) PlayOrWake(s);
}

void SendThru(SystemState& s, ShortMessage m) {
    if (s.Ports.ThruOut.Send(m) && IsChannelMessage(m)) LightPortLampIfDark(s.Lamps, ShapeOut2);
}

}  // namespace

void In1Callback(void* context, uint16_t kind, ShortMessage m) {
    if (!IsData(kind)) return;
    auto& s = *static_cast<SystemState*>(context);
    s.Ports.Inputs[0].Held.Track(m);
    Enqueue(s, m + kIn1Tag);
    if (MonitorSource(s) == 1) MonitorShortMessage(s, m + kIn1Tag);
    if (s.Bank.GmMode.load(std::memory_order_relaxed) && ReadShared(s.Options.GmMidiThru) != 0) {
        if (MonitorSource(s) == 7) MonitorShortMessage(s, m);
        SendThru(s, m);
    }
}

void In2Callback(void* context, uint16_t kind, ShortMessage m) {
    if (!IsData(kind)) return;
    auto& s = *static_cast<SystemState*>(context);
    s.Ports.Inputs[1].Held.Track(m);
    Enqueue(s, m + kIn2Tag);
    if (MonitorSource(s) == 2) MonitorShortMessage(s, m + kIn2Tag);
}

void In3Callback(void* context, uint16_t kind, ShortMessage m) {
    if (!IsData(kind)) return;
    auto& s = *static_cast<SystemState*>(context);
    s.Ports.Inputs[2].Held.Track(m);
    if (IsChannelMessage(m)) LightLamp(s.Lamps, ShapeIn3);
    const uint8_t source = MonitorSource(s);
    if (source == 4 || source == 7) MonitorShortMessage(s, m);
    SendThru(s, m);
}

}  // namespace cadenzo
