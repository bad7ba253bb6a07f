// The device lists and the six ports: which device is open on each.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/midi_backend.h"
#include "midi/output_slot.h"

namespace cadenzo {

enum class PortId { In1, In2, In3, SynthOut, ThruOut, ControlOut };

struct InputSlot {
    std::atomic<uint32_t> OpenNumber{0};     // 0 = closed, k = input device k - 1
    std::unique_ptr<MidiInputPort> Handle;   // main thread only
};

struct PortState {
    // Entry 0 is "no device"; entry k names device k - 1. Built once at
    // start-up; main thread only.
    std::vector<std::string> InputDeviceNames;
    std::vector<std::string> OutputDeviceNames;
    std::array<InputSlot, 3> Inputs;  // In1, In2, In3
    OutputSlot SynthOut;
    OutputSlot ThruOut;
    OutputSlot ControlOut;

    // The device numbers open on In1, In2, In3, SynthOut, ThruOut, ControlOut.
    std::array<uint32_t, 6> OpenPortNumbers() const {
        return {Inputs[0].OpenNumber.load(), Inputs[1].OpenNumber.load(), Inputs[2].OpenNumber.load(),
                SynthOut.OpenNumber(),      ThruOut.OpenNumber(),         ControlOut.OpenNumber()};
    }
};

}  // namespace cadenzo
