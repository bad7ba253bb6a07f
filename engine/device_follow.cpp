#include "engine/device_follow.h"

#include "engine/monitor_feed.h"
#include "engine/port_manager.h"
#include "engine/transmission.h"
#include "midi/port_names.h"
#include "services/display.h"

namespace cadenzo {

namespace {

std::vector<std::string> ReadList(std::vector<std::string> names, const char* none) {
    names.insert(names.begin(), none);
    return names;
}

void Renumber(SystemState& s, PortId port, uint32_t n) {
    if (IsInput(port))
        s.Ports.Inputs[PortIndex(port)].OpenNumber.store(n);
    else
        s.Ports.Output(port).Renumber(n);
}

// The device open on the port, listed as number n, may have been renamed
// meanwhile: the port follows it under its new name.
void FollowRename(SystemState& s, PortId port, uint32_t n) {
    PortState& ports = s.Ports;
    const std::vector<std::string>& list = ports.DeviceNames(port);
    std::string& name = ports.RememberedDevices[PortIndex(port)];
    if (n >= list.size() || name.empty() || s.Io.midi->ListedNameOf(IsInput(port), name) == list[n]) return;
    name = list[n];
    ports.RememberedOrders[PortIndex(port)] = NamesakeOrder(list, n);
}

}  // namespace

DeviceLook LookAtDevices(MidiBackend& midi) {
    DeviceLook look;
    look.inputs = ReadList(midi.InputNames(), kNoInputDevice);
    look.outputs = ReadList(midi.OutputNames(), kNoOutputDevice);
    for (PortId port : kAllPorts) look.places[PortIndex(port)] = midi.ListedPlace(kPortNames[PortIndex(port)]);
    return look;
}

FollowOutcome FollowDevices(SystemState& s, DeviceLook look, std::chrono::steady_clock::time_point now,
                            void (*outputsBack)(SystemState&, bool synthBack, bool controlBack)) {
    PortState& ports = s.Ports;
    FollowOutcome outcome;
    outcome.changed = look.inputs != ports.InputDeviceNames || look.outputs != ports.OutputDeviceNames;
    ports.InputDeviceNames = std::move(look.inputs);
    ports.OutputDeviceNames = std::move(look.outputs);

    // Open ports first: each keeps its device at its new place, or loses it.
    // A lost port waits for the next look before it opens again: the lists
    // may still name a device the service is just taking away.
    PerPort<bool> lost{};
    for (PortId port : kAllPorts) {
        const uint32_t old = ports.OpenNumber(port);
        if (old == 0) continue;
        if (const std::optional<uint32_t> place = look.places[PortIndex(port)]) {
            FollowRename(s, port, *place + 1);
            if (*place + 1 == old) continue;
            Renumber(s, port, *place + 1);
        } else {
            DropLostPort(s, port);
            lost[PortIndex(port)] = true;
            ports.RetryAt[PortIndex(port)] = {};
            MonitorDeviceEvent(s, static_cast<uint8_t>(PortIndex(port)), false);
        }
        outcome.changed = true;
    }
    // Then the ports that wait for their device: the outputs first, so that
    // a returning input plays only into outputs that are back and have had
    // their start-up set.
    const auto reopen = [&](PortId port) {
        const std::string& name = ports.RememberedDevices[PortIndex(port)];
        auto& retryAt = ports.RetryAt[PortIndex(port)];
        if (ports.OpenNumber(port) != 0 || name.empty() || lost[PortIndex(port)] || now < retryAt) return;
        const uint32_t n = FindDevice(s, port);
        if (n == 0) return;
        if (!ReopenPort(s, port, n)) {
            retryAt = now + kReopenRetry;
            return;
        }
        FollowOpened(s, port, n);
        MonitorDeviceEvent(s, static_cast<uint8_t>(PortIndex(port)), true);
        outcome.changed = true;
        outcome.synthBack |= port == PortId::SynthOut;
        outcome.controlBack |= port == PortId::ControlOut;
    };
    for (PortId port : kAllPorts)
        if (!IsInput(port)) reopen(port);
    if ((outcome.synthBack || outcome.controlBack) && outputsBack)
        outputsBack(s, outcome.synthBack, outcome.controlBack);
    for (PortId port : kAllPorts)
        if (IsInput(port)) reopen(port);
    return outcome;
}

void FollowDeviceChanges(SystemState& s, std::chrono::steady_clock::time_point now) {
    DeviceLook look;
    {
        // The look comes when the MIDI service signals a change (once a
        // second where it has no such signal) and asks the service, which
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
