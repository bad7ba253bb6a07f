#include "midi/port_follow.h"

#include "midi/port_manager.h"
#include "midi/port_names.h"
#include "services/monitor.h"

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

}  // namespace

FollowOutcome FollowDevices(SystemState& s, std::chrono::steady_clock::time_point now) {
    PortState& ports = s.Ports;
    MidiBackend& midi = *s.Io.midi;
    FollowOutcome outcome;
    std::vector<std::string> inputs = ReadList(midi.InputNames(), kNoInputDevice);
    std::vector<std::string> outputs = ReadList(midi.OutputNames(), kNoOutputDevice);
    outcome.changed = inputs != ports.InputDeviceNames || outputs != ports.OutputDeviceNames;
    ports.InputDeviceNames = std::move(inputs);
    ports.OutputDeviceNames = std::move(outputs);

    // Open ports first: each keeps its device at its new place, or loses it.
    // A lost port waits for the next look before it opens again: the lists
    // may still name a device the service is just taking away.
    std::array<bool, 6> lost{};
    for (PortId port : kAllPorts) {
        const uint32_t old = ports.OpenNumber(port);
        if (old == 0) continue;
        if (const std::optional<uint32_t> place = midi.ListedPlace(kPortNames[PortIndex(port)])) {
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
    // Then the ports that wait for their device.
    for (PortId port : kAllPorts) {
        const std::string& name = ports.RememberedDevices[PortIndex(port)];
        auto& retryAt = ports.RetryAt[PortIndex(port)];
        if (ports.OpenNumber(port) != 0 || name.empty() || lost[PortIndex(port)] || now < retryAt) continue;
        const uint32_t n = FindDevice(s, port, name);
        if (n == 0) continue;
        if (!ReopenPort(s, port, n)) {
            retryAt = now + kReopenRetry;
            continue;
        }
        MonitorDeviceEvent(s, static_cast<uint8_t>(PortIndex(port)), true);
        outcome.changed = true;
        outcome.synthBack |= port == PortId::SynthOut || port == PortId::ControlOut;
    }
    return outcome;
}

}  // namespace cadenzo
