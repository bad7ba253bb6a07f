#include "engine/device_changes.h"

#include "engine/transmission.h"
#include "midi/port_follow.h"
#include "services/display.h"

namespace cadenzo {

void FollowDeviceChanges(SystemState& s, std::chrono::steady_clock::time_point now) {
    DeviceLook look;
    {
        // The look comes every second and asks the MIDI service, which
        // takes a while: the engine plays on meanwhile. What the look finds
        // is then followed with the lock held, so that input from a port
        // that opens again waits until the outputs are back and have had
        // their start-up set.
        const EngineReleased released(s.Engine);
        look = LookAtDevices(*s.Io.midi);
    }
    const FollowOutcome outcome = FollowDevices(s, std::move(look), now);
    if (outcome.synthBack || outcome.controlBack) ResendStartUpSet(s, outcome.synthBack, outcome.controlBack);
    if (outcome.changed) s.Io.display->DevicesChanged();
}

}  // namespace cadenzo
