// The device lists and the program's ports: which device is open on each, and
// which device each one follows by name.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midi/held_keys.h"
#include "midi/midi_backend.h"
#include "midi/output_slot.h"
#include "midi/port_names.h"

namespace cadenzo {

enum class PortId { In1, In2, In3, SynthOut, ThruOut, ControlOut };

constexpr size_t PortIndex(PortId port) { return static_cast<size_t>(port); }
constexpr bool IsInput(PortId port) { return port <= PortId::In3; }
inline constexpr PerPort<PortId> kAllPorts{PortId::In1,      PortId::In2,     PortId::In3,
                                          PortId::SynthOut, PortId::ThruOut, PortId::ControlOut};

struct InputSlot {
    std::atomic<uint32_t> OpenNumber{0};     // 0 = closed, k = input device k - 1
    std::unique_ptr<MidiInputPort> Handle;   // main thread only
    HeldKeys Held;                           // what the open device holds down
};

struct PortState {
    // Entry 0 is "no device"; entry k names device k - 1. Main thread only;
    // read afresh whenever the devices change.
    std::vector<std::string> InputDeviceNames;
    std::vector<std::string> OutputDeviceNames;
    std::array<InputSlot, kInputPortCount> Inputs;  // In1, In2, In3
    OutputSlot SynthOut;
    OutputSlot ThruOut;
    OutputSlot ControlOut;
    // The device each port follows, by name, in the order In1 .. ControlOut;
    // "" = none. An open port follows the device open on it; a closed port
    // with a name waits for that device to be listed. Main thread only.
    PerPort<std::string> RememberedDevices;
    // Per port, which of the listed devices of that name it follows (1 =
    // the first; 0, not known, counts as 1). Two ports follow one device
    // only where they follow the same name and order. Main thread only.
    PerPort<uint32_t> RememberedOrders{};
    // Per port, its device's port number within its client, where the MIDI
    // service numbers them: what a name that matches nothing falls back to.
    // Main thread only.
    PerPort<std::optional<uint32_t>> RememberedClientPorts{};
    // Per port whose device is listed but would not open: when to try again.
    // Main thread only.
    PerPort<std::chrono::steady_clock::time_point> RetryAt{};

    // The list a port's device numbers refer to.
    const std::vector<std::string>& DeviceNames(PortId port) const {
        return IsInput(port) ? InputDeviceNames : OutputDeviceNames;
    }
    OutputSlot& Output(PortId port) {
        return port == PortId::SynthOut ? SynthOut : port == PortId::ThruOut ? ThruOut : ControlOut;
    }
    // The device number open on a port, 0 = closed.
    uint32_t OpenNumber(PortId port) const { return OpenPortNumbers()[PortIndex(port)]; }

    // The device numbers open on In1, In2, In3, SynthOut, ThruOut, ControlOut.
    PerPort<uint32_t> OpenPortNumbers() const {
        return {Inputs[0].OpenNumber.load(), Inputs[1].OpenNumber.load(), Inputs[2].OpenNumber.load(),
                SynthOut.OpenNumber(),      ThruOut.OpenNumber(),         ControlOut.OpenNumber()};
    }
};

}  // namespace cadenzo
