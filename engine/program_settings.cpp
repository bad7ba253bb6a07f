#include "engine/program_settings.h"

#include "engine/system_state.h"

namespace cadenzo {

ProgramSettings ProgramSettingsNow(const SystemState& s) {
    ProgramSettings settings;
    settings.RingAcrossMixChange = ReadShared(s.RingAcross.Enabled);
    settings.NextMixController = ReadShared(s.Footswitch.NextController);
    settings.PreviousMixController = ReadShared(s.Footswitch.PreviousController);
    settings.EscapeAsksBeforeQuitting = s.EscapeAsksBeforeQuitting;
    settings.EffectSendsToSynth = ReadShared(s.Transmission.EffectSendsToSynth);
    return settings;
}

SetupToSave SetupOf(SystemState& s) {
    return {s.Options,           s.Ports.OpenPortNumbers(),        s.Ports.RememberedDevices,
            s.Ports.RememberedOrders, s.Ports.RememberedClientPorts, ProgramSettingsNow(s)};
}

void UseProgramSettings(SystemState& s, const ProgramSettings& settings) {
    WriteShared(s.RingAcross.Enabled, settings.RingAcrossMixChange);
    WriteShared(s.Footswitch.NextController, settings.NextMixController);
    WriteShared(s.Footswitch.PreviousController, settings.PreviousMixController);
    s.EscapeAsksBeforeQuitting = settings.EscapeAsksBeforeQuitting;
    WriteShared(s.Transmission.EffectSendsToSynth, settings.EffectSendsToSynth);
}

}  // namespace cadenzo
