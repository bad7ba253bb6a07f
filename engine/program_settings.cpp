#include "engine/program_settings.h"

#include "engine/system_state.h"

namespace cadenzo {

ProgramSettings SettingsNow(const SystemState& s) {
    ProgramSettings settings;
    settings.RingAcrossMixChange = ReadShared(s.RingAcross.Enabled);
    settings.NextMixController = ReadShared(s.Footswitch.NextController);
    settings.PreviousMixController = ReadShared(s.Footswitch.PreviousController);
    settings.EscapeAsksBeforeQuitting = s.EscapeAsksBeforeQuitting;
    settings.EffectSendsToSynth = ReadShared(s.Transmission.EffectSendsToSynth);
    return settings;
}

SettingsToSave SettingsOf(SystemState& s) {
    return {s.Options,           s.Ports.OpenPortNumbers(),        s.Ports.RememberedDevices,
            s.Ports.RememberedOrders, s.Ports.RememberedClientPorts, SettingsNow(s)};
}

void UseSettings(SystemState& s, const ProgramSettings& settings) {
    WriteShared(s.RingAcross.Enabled, settings.RingAcrossMixChange);
    WriteShared(s.Footswitch.NextController, settings.NextMixController);
    WriteShared(s.Footswitch.PreviousController, settings.PreviousMixController);
    s.EscapeAsksBeforeQuitting = settings.EscapeAsksBeforeQuitting;
    WriteShared(s.Transmission.EffectSendsToSynth, settings.EffectSendsToSynth);
}

}  // namespace cadenzo
