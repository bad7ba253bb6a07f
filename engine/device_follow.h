// Device follow: each port keeps to the device it follows, by name, as
// devices and the MIDI service itself come and go, and a synthesiser or DSP
// whose port opens again gets everything start-up sent it. Its parts: the
// window thread's watch that says when to follow (app/device_follow_watch.h),
// the pass FollowDeviceChanges, and the pass's two steps, LookAtDevices and
// FollowDevices.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "engine/system_state.h"

namespace cadenzo {

// What the MIDI service lists at one look, with each port's place in it.
struct DeviceLook {
    std::vector<std::string> inputs;   // "no device" first, as the port lists have it
    std::vector<std::string> outputs;
    PerPort<std::optional<uint32_t>> places;  // of each port's device, if it is still joined to it
};

// Asks the MIDI service, which may take a while; reads and changes nothing
// of the engine's, so it needs no engine lock.
DeviceLook LookAtDevices(MidiBackend& midi);

struct FollowOutcome {
    bool changed = false;     // the lists, or what is open on a port, changed
    bool synthBack = false;   // SynthOut opened on a returning device
    bool controlBack = false; // ControlOut opened on a returning device
};

// How long a port waits before it tries again a device that is listed but
// would not open (the lists may lag behind the service for a moment).
inline constexpr std::chrono::milliseconds kReopenRetry{1000};

// Takes the look's lists, then:
// - a port whose device has gone (even if one of its name is back) is
//   closed, and an input lets go of what its device held;
// - an open port's number follows its device to its new place in the list;
// - a closed port that follows a device opens it once it is listed again,
//   at the next look after it was lost (a failed open is tried again from
//   kReopenRetry after `now` on); the outputs open first, then
//   `outputsBack` runs when SynthOut or ControlOut came back (saying
//   which), then the
//   inputs open, so a returning input never plays ahead of its outputs.
// Each loss and return shows as a monitor line. No message box is shown.
FollowOutcome FollowDevices(SystemState& s, DeviceLook look, std::chrono::steady_clock::time_point now,
                            void (*outputsBack)(SystemState&, bool synthBack, bool controlBack) = nullptr);

// One pass: looks at the devices with the engine lock let go, then follows
// what the look found with it held, resending the start-up set to a
// returning output, and tells the display when anything changed. Window
// thread, holding the engine lock.
void FollowDeviceChanges(SystemState& s, std::chrono::steady_clock::time_point now);

}  // namespace cadenzo
