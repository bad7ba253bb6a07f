#include "engine/device_changes.h"

#include "engine/transmission.h"
#include "midi/port_follow.h"
#include "services/display.h"

namespace cadenzo {

void FollowDeviceChanges(SystemState& s, std::chrono::steady_clock::time_point now) {
    const FollowOutcome outcome = FollowDevices(s, now);
    if (outcome.synthBack) ResendStartUpSet(s);
    if (outcome.changed) s.Io.display->DevicesChanged();
}

}  // namespace cadenzo
