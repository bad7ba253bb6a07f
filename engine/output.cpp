#include "engine/output.h"

#include "engine/monitor_feed.h"
#include "engine/pedals.h"
#include "engine/system_state.h"

namespace cadenzo {

void SendToSynth(SystemState& s, ShortMessage m) {
    if (ReadShared(s.Options.MonitorSource) == kMonitorSynthOut) MonitorShortMessage(s, m);
    if (!s.Ports.SynthOut.Send(m & 0xFFFFFF)) return;
    NotePedalSent(s.Performance.Pedals, m);  // the glide tick sends bends only: it never writes there
    if (IsChannelMessage(m)) LightPortLampIfDark(s.Lamps, ShapeOut1);
    LightLamp(s.Lamps, static_cast<Lamp>(ShapeCh1 + (m & 0x0F)));
}

void SendToControl(SystemState& s, ShortMessage m) {
    if (ReadShared(s.Options.MonitorSource) == kMonitorControlOut) MonitorShortMessage(s, m);
    if (!s.Ports.ControlOut.Send(m & 0xFFFFFF)) return;
    if (IsChannelMessage(m)) LightPortLampIfDark(s.Lamps, ShapeOut3);
}

bool EffectSendAlsoToSynth(const SystemState& s, uint8_t controller) {
    return (controller == 91 || controller == 93) && ReadShared(s.Transmission.EffectSendsToSynth) != 0;
}

void SendEffectSend(SystemState& s, ShortMessage m) {
    SendToControl(s, m);
    if (EffectSendAlsoToSynth(s, UnpackShortMessage(m).data1)) SendToSynth(s, m);
}

}  // namespace cadenzo
