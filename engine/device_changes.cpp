#include "engine/device_changes.h"

#include "engine/transmission.h"
#include "engine/port_follow.h"
#include "services/display.h"

namespace cadenzo {

void FollowDeviceChanges(SystemState& s, std::chrono::steady_clock::time_point now) {
    DeviceLook look;
    {
        // The look comes every second and asks the MIDI service, which
        // takes a while: the engine plays on meanwhile. What the look finds
        // is then followed with the lock held but for the service calls
        // themselves; the outputs return and get their start-up set before
        // any input opens again.
        const EngineReleased released(s.Engine);
        look = LookAtDevices(*s.Io.midi);
    }
    const FollowOutcome outcome = FollowDevices(s, std::move(look), now, &ResendStartUpSet);
    if (outcome.changed) s.Io.display->DevicesChanged();
}

}  // namespace cadenzo
